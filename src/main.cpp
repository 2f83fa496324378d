#include "app/ui/syn_app.h"

int main(int argc, char** argv) {
    return lyr::app::runApplication(argc, argv);
}
