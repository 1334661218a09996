#include <cstdio>

int main()
{
    std::fputs("tintgrabber: the main window is not built yet\n", stderr);
    return 1;
}
