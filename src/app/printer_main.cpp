#include "export/PDFPrinter.h"

int main(int argc, char** argv) {
    return PDFPrinter::run(argc, argv);
}
