// ra7datagen: writes the project's generated data at build time.
//   ra7datagen helper DIR            the editor's helper scene under DIR/data/arrow
//   ra7datagen sample DIR SHADERS    a sample project in DIR, shaders copied from SHADERS
#include "DataGenerator.h"

#include <filesystem>
#include <iostream>
#include <string>

int main(int argc, char** argv)
{
    const std::string usage = "usage: ra7datagen helper DIR | ra7datagen sample DIR SHADERS";
    if (argc < 3) {
        std::cerr << usage << '\n';
        return 2;
    }
    const std::string what = argv[1];
    try {
        const std::filesystem::path shaders =
            argc > 3 ? std::filesystem::absolute(argv[3]) : std::filesystem::path();
        std::filesystem::create_directories(argv[2]);
        std::filesystem::current_path(argv[2]);
        if (what == "helper")
            ra7::datagen::WriteHelperScene();
        else if (what == "sample" && argc == 4)
            ra7::datagen::WriteSampleProject(shaders);
        else {
            std::cerr << usage << '\n';
            return 2;
        }
    } catch (const std::exception& e) {
        std::cerr << "ra7datagen: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
