// Packs a payload file into a carrier: prefix, payload, then N = payload
// length + 4 as a signed 32-bit little-endian integer.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: pack_carrier PAYLOAD CARRIER\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "pack_carrier: cannot read %s\n", argv[1]);
        return 1;
    }
    std::vector<char> payload((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (payload.size() > 0x7FFFFFF0u) {
        std::fprintf(stderr, "pack_carrier: payload too large\n");
        return 1;
    }
    const char prefix[] = "Zendrel encoder carrier\n";
    const std::int32_t n = static_cast<std::int32_t>(payload.size() + 4);
    const unsigned char le[4] = {static_cast<unsigned char>(n), static_cast<unsigned char>(n >> 8),
                                 static_cast<unsigned char>(n >> 16), static_cast<unsigned char>(n >> 24)};
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(prefix, sizeof prefix - 1);
    out.write(payload.data(), static_cast<std::streamsize>(payload.size()));
    out.write(reinterpret_cast<const char *>(le), 4);
    if (!out) {
        std::fprintf(stderr, "pack_carrier: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
