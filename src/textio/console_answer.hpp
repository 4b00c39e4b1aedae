#pragma once
// Console answers read one line at a time and taken as the question asks: a name of at
// most 30 characters, or one number. Every message about an answer names its question
// in plain words ("the starting time stamp (yymmddhh or 0)").

#include <cstdint>
#include <string>
#include <string_view>

#include "free_form.hpp"
#include "io_diagnostic.hpp"

namespace ww3b {

// An answer that cannot be taken as its question asks. A run whose answers come from a
// terminal explains it and asks again; any other run ends with it as a diagnostic.
class RefusedAnswer : public RunFailure {
public:
    using RunFailure::RunFailure;
};

// Refuses the answer just read from the console, naming its question and console line.
[[noreturn]] void refuseConsoleAnswer(Console& console, std::string_view question, const std::string& problem);

// The next console line as a 30-character name field (an empty line gives 30 blanks). A
// name cut in the middle (its 30th and 31st characters both non-blank) is refused; text
// after a blank at column 30 or 31 is a comment and ignored.
std::string answerName(Console& console, std::string_view question);

// The first value of the next line that holds one, by the free-form rules; lines that
// hold none are passed over. Further values on the line are ignored, with a warning.
std::int32_t answerInteger(Console& console, std::string_view question);
float answerReal(Console& console, std::string_view question);

}  // namespace ww3b
