#include <gtest/gtest.h>

#include "support/FatalReport.h"
#include "tests/common/ChildProcess.h"

namespace {

const std::string header =
    "The program aborted unexpectedly. Please send these informations to the developing team for debug:\n\n"
    "Le programme a quitte inopinement. Merci d'envoyer les informations suivantes a l'equipe de "
    "developpement pour corriger le bug :\n\n"
    "El programa se interrumpe inesperadamente. Por favor enviase estas informaciones a el equipo de "
    "programacion para el depuracion del programa :\n\n";

TEST(FatalReport, ReportTextHasEveryLineInOrder) {
  std::string report = buildFatalReport("May  8 2010", "src/a.cpp", "x > 0", 42, "10:42:12", "bad x");
  EXPECT_EQ(header +
                "\n__DATE__ May  8 2010\n__FILE__ src/a.cpp\n__LINE__ 42\n__TIME__ 10:42:12\n"
                "Program version: (unknown)\nCondition: x > 0\nMessage: bad x\n",
            report);
  // Two line breaks end the header and a third opens the date line.
  EXPECT_NE(std::string::npos, report.find("programa :\n\n\n__DATE__ "));
}

TEST(FatalReport, OptionalLinesAreLeftOut) {
  std::string noMessage = buildFatalReport("d", "f", "c", 1, "t", nullptr);
  EXPECT_EQ(std::string::npos, noMessage.find("Message:"));
  EXPECT_NE(std::string::npos, noMessage.find("\nCondition: c\n"));
  std::string noCondition = buildFatalReport("d", "f", nullptr, 1, "t", "m");
  EXPECT_EQ(std::string::npos, noCondition.find("Condition:"));
  EXPECT_NE(std::string::npos, noCondition.find("Program version: (unknown)\nMessage: m\n"));
}

TEST(FatalReport, FailedCheckExitsWithStatusOneAndReportsOnStandardError) {
  int answer = 41;
  ChildResult result = runInChild([&] { CHECK_MSG(answer == 42, std::string("answer was ") + "41"); });
  EXPECT_EQ(1, result.exitCode) << describe(result);
  ASSERT_EQ(0u, result.err.find("ERROR : " + header + "\n__DATE__ ")) << result.err;
  EXPECT_NE(std::string::npos, result.err.find("\n__FILE__ "));
  EXPECT_NE(std::string::npos, result.err.find("FatalReportTest.cpp\n__LINE__ "));
  EXPECT_NE(std::string::npos, result.err.find("\nProgram version: (unknown)\nCondition: answer == 42\n"
                                                "Message: answer was 41\n"));
}

TEST(FatalReport, PassingCheckDoesNothingAndFatalErrorHasNoCondition) {
  ChildResult passing = runInChild([] { CHECK(1 + 1 == 2); });
  EXPECT_EQ(0, passing.exitCode) << describe(passing);
  EXPECT_EQ("", passing.err);

  ChildResult fatal = runInChild([] { FATAL_ERROR("Bad arguments!"); });
  EXPECT_EQ(1, fatal.exitCode);
  EXPECT_EQ(std::string::npos, fatal.err.find("Condition:"));
  EXPECT_NE(std::string::npos, fatal.err.find("\nMessage: Bad arguments!\n"));

  ChildResult noMessage = runInChild([] { CHECK(2 < 1); });
  EXPECT_EQ(1, noMessage.exitCode);
  EXPECT_NE(std::string::npos, noMessage.err.find("\nCondition: 2 < 1\n"));
  EXPECT_EQ(std::string::npos, noMessage.err.find("Message:"));
}

TEST(FatalReport, BuildDateAndTimeHaveThePreprocessorForm) {
  ChildResult result = runInChild([] { CHECK(false); });
  // "Mmm dd yyyy" with a blank-padded day, then "hh:mm:ss".
  EXPECT_TRUE(testing::internal::RE::PartialMatch(
      result.err, "\n__DATE__ [A-Z][a-z][a-z] [ 1-3][0-9] [0-9]{4}\n"))
      << result.err;
  EXPECT_TRUE(testing::internal::RE::PartialMatch(result.err, "\n__TIME__ [0-2][0-9]:[0-5][0-9]:[0-5][0-9]\n"));
}

TEST(FatalReport, ShowProblemReturns) {
  ChildResult result = runInChild([] {
    showProblem("extension not available");
    showProblem("second");
  });
  EXPECT_EQ(0, result.exitCode);
  EXPECT_EQ("ERROR : extension not available\nERROR : second\n", result.err);
}

}  // namespace
