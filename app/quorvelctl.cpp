// Placeholder entry point so the tree configures before the command line exists.
#include <cstdio>

int main()
{
    std::fputs("quorvelctl: not available in this build\n", stderr);
    return 1;
}
