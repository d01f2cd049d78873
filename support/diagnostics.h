#pragma once
// Diagnostic lines: request texts, file paths and fixed notes. The window
// program writes them to its hidden console (standard output); tarnwick-cli
// sends them to standard error so that standard output carries only the reply.

#include <cstdio>

void SetDiagnosticsStream(FILE* stream);

// printf-style; nothing is added (callers write their own line feed).
void Diagnostic(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
