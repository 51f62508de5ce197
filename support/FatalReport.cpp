#include "FatalReport.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>

#include "platform/Platform.h"

const std::string programVersion = "(unknown)";

static const char* const reportHeader =
    "The program aborted unexpectedly. Please send these informations to the developing team for debug:\n\n"
    "Le programme a quitte inopinement. Merci d'envoyer les informations suivantes a l'equipe de "
    "developpement pour corriger le bug :\n\n"
    "El programa se interrumpe inesperadamente. Por favor enviase estas informaciones a el equipo de "
    "programacion para el depuracion del programa :\n\n";

std::string buildFatalReport(const char* date, const char* file, const char* condition, int line,
                             const char* time, const char* message) {
  std::string report = reportHeader;
  report += "\n__DATE__ ";
  report += date;
  report += "\n__FILE__ ";
  report += file;
  report += "\n__LINE__ ";
  report += std::to_string(line);
  report += "\n__TIME__ ";
  report += time;
  report += "\nProgram version: ";
  report += programVersion;
  if (condition != nullptr) {
    report += "\nCondition: ";
    report += condition;
  }
  if (message != nullptr) {
    report += "\nMessage: ";
    report += message;
  }
  report += "\n";
  return report;
}

void showProblem(const std::string& text) {
  platform::showProblemDialog("Problem", text);
  std::cout.flush();  // keep the progress lines before the report
  std::cerr << "ERROR : " << text << std::endl;
}

void assertFailed(const char* date, const char* file, const char* condition, int line,
                  const char* time, const char* message) {
  showProblem(buildFatalReport(date, file, condition, line, time, message));
  std::exit(1);
}
