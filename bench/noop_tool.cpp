// A tool that does nothing and ends at once: the child of the tool-run
// benchmark, so that what is timed is starting and ending a process.

int main() { return 0; }
