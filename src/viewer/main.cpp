// The voxa executable.
#include "viewer/startup.h"

int main(int argc, char** argv) {
    return runViewer(argc, argv);
}
