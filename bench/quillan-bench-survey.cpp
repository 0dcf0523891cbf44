// The survey benchmark as a program of its own: it opens a window, so it
// links the window library, which the engine benchmark does not.
#include "SurveyMode.h"

int main(int argc, char **argv)
{
    return RunSurveyBenchmark(argc, argv);
}
