// Holds a single-instance marker for the name on the command line, prints
// whether another copy held it, and keeps it until stdin closes.
#include "platform/single_instance.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) return 2;
    platform::SingleInstanceMarker marker(QString::fromLocal8Bit(argv[1]));
    std::printf("%s\n", marker.alreadyExisted() ? "existed" : "first");
    std::fflush(stdout);
    char buffer[64];
    while (std::fgets(buffer, sizeof buffer, stdin) != nullptr) {
    }
    return 0;
}
