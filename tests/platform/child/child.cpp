#include "child.h"

#include <cstdlib>

#include "platform/files.h"

int child_run(const std::vector<std::string>& arguments, FILE* input)
{
    if (arguments.size() < 3)
        return 2;
    if (arguments[2] == "early")
        return 3;
    FILE* out = files_fopen(arguments[1].c_str(), "wb");
    if (!out)
        return 2;
    for (size_t i = 3; i < arguments.size(); ++i)
        std::fprintf(out, "%s\n", arguments[i].c_str());
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, input)) > 0)
        std::fwrite(buffer, 1, n, out);
    return std::fclose(out) == 0 ? std::atoi(arguments[2].c_str()) : 2;
}
