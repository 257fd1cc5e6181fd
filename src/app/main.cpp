#include "app/QuonApp.h"

int main(int argc, char** argv) {
    return QuonApp::run(argc, argv);
}
