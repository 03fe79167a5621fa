#include <cstdio>

// Placeholder entry until the main window exists: prints the version.
int main() {
    std::printf("Mirelon %s\n", MIRELON_VERSION);
    return 0;
}
