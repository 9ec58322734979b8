// The demo as a program of its own, for projects that build it from these sources.
#include "demo_common.h"

int main() { return demo::RunDemo(); }
