#include "DemoCli.h"

#include <iostream>

int main(int argc, char** argv) {
    return demo::runDemoCli({argv + 1, argv + argc}, std::cout, std::cerr);
}
