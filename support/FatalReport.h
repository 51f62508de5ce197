#pragma once
// The engine's single failure path: a check that stays active in every build,
// a report shown to the user and written to standard error, and exit status 1.

#include <string>

extern const std::string programVersion;

// Builds the report text for one failed check. `condition` and `message` may
// be null; their lines are then left out.
std::string buildFatalReport(const char* date, const char* file, const char* condition, int line,
                             const char* time, const char* message);

// Shows the report and ends the process with status 1.
[[noreturn]] void assertFailed(const char* date, const char* file, const char* condition, int line,
                               const char* time, const char* message);

// Non-fatal notice: shown like the report, then the program goes on.
void showProblem(const std::string& text);

namespace fatal_report_detail {
inline const char* messageText(const std::string& message) { return message.c_str(); }
inline const char* messageText(const char* message) { return message; }
}  // namespace fatal_report_detail

// CHECK(condition): ends the program with the report when the condition is false.
#define CHECK(condition)                                                           \
  do {                                                                             \
    if (!(condition)) assertFailed(__DATE__, __FILE__, #condition, __LINE__, __TIME__, nullptr); \
  } while (0)

// CHECK_MSG(condition, message): the same, with a message (a C string or a std::string).
#define CHECK_MSG(condition, message)                                                     \
  do {                                                                                    \
    if (!(condition))                                                                     \
      assertFailed(__DATE__, __FILE__, #condition, __LINE__, __TIME__,                    \
                   fatal_report_detail::messageText(message));                            \
  } while (0)

// FATAL_ERROR(message): unconditional report without a condition line.
#define FATAL_ERROR(message)                                                    \
  assertFailed(__DATE__, __FILE__, nullptr, __LINE__, __TIME__,                 \
               fatal_report_detail::messageText(message))
