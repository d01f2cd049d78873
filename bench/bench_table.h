#pragma once
// Timing and the table every benchmark prints: one markdown row per figure,
// `| figure | goal | measured |`, on standard output (scripts/bench prints
// the header once). Details go to standard error.

#include <windows.h>

#include <string>
#include <vector>

// Milliseconds from an arbitrary start, from the performance counter.
double NowMs();

// Processor time (user + kernel) the process has used so far, in seconds.
double ProcessorSeconds(HANDLE process);

// The value below which `share` (0..1) of the values lie; 0 for none.
double Percentile(std::vector<double> values, double share);
double Mean(const std::vector<double>& values);

// printf-style text.
std::string Format(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));

void PrintRow(const std::string& figure, const std::string& goal, const std::string& measured);
