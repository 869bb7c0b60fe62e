// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of `quorvelctl status --json` and `export --json`: a bare program that reads the
// state file whole, parses it with the same JSON reader and prints as many bytes of JSON as the
// command does. What remains above it is the command's own work and what it loads.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include <nlohmann/json.hpp>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::cerr << "usage: floor_json STATE_FILE [OUTPUT_BYTES]\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const nlohmann::json state = nlohmann::json::parse(text, nullptr, false);
    if (state.is_discarded()) {
        std::cerr << "floor_json: " << argv[1] << " is not JSON\n";
        return 1;
    }
    const std::size_t wanted = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 0;
    nlohmann::ordered_json out{{"objects", state.size()}, {"bytes", text.size()}};
    const std::size_t base = out.dump(2).size() + 1;
    out["pad"] = std::string(wanted > base + 12 ? wanted - base - 12 : 0, 'x');
    std::cout << out.dump(2) << "\n";
    return 0;
}
