#include "support/diagnostics.h"

#include <cstdarg>

namespace {
FILE* g_stream = nullptr;  // nullptr: standard output
}

void SetDiagnosticsStream(FILE* stream) { g_stream = stream; }

void Diagnostic(const char* format, ...) {
  FILE* stream = g_stream ? g_stream : stdout;
  va_list args;
  va_start(args, format);
  vfprintf(stream, format, args);
  va_end(args);
  fflush(stream);
}
