#include "ui/KDebug.h"

std::string TraceExceptionText(const std::string& message, const std::string& functionName,
                               const std::string& extra) {
  return " --- " + functionName + "()" + (extra.empty() ? "" : " --- " + extra) + " --- " + message;
}
