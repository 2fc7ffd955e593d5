#include "journal/cquilloxdoc.h"

#include <cstdio>

int main()
{
    CQuilloxDoc doc;
    std::printf("Zephalonte: journal core built; the main window is not built yet.\n");
    return 0;
}
