// Ostrel's entry point. The application object does all of it: start-up
// check, menu bar, single-instance hand-over, windows, event loop.

#include "app/App.h"

int main(int argc, char** argv)
{
    return ostrel::App::Main(argc, argv);
}
