// Writes every data file a new installation needs, enciphered with the
// program's keys, into each folder named on the command line:
//   maketemplates FOLDER...
#include <cstdio>

#include "TemplateWriter.h"
#include "foundation/bytes/GenericException.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER...\n", argv[0]);
        return 2;
    }
    try {
        for (int i = 1; i < argc; ++i)
            WriteTemplateFiles(argv[i]);
    } catch (const CGenericException& e) {
        std::fprintf(stderr, "maketemplates: %s\n", e.GetErrorText());
        return 1;
    }
    return 0;
}
