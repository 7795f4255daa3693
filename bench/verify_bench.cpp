// Verification and script loading of a setup image, timed against zlib's adler32 over the same
// bytes already in memory (the floor: what the check costs without any file reading).
//   verify_bench.exe IMAGE [ROUNDS]
// Prints one line per round and the medians. Runs under Wine beside the engine.
#include <windows.h>

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "environment/run_environment.h"
#include "runtime/heap.h"
#include "setup/setup_image.h"

using namespace kelvara;

namespace {

double seconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return double(now.QuadPart) / double(frequency.QuadPart);
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool readHeader(HANDLE file, StubHeader& header) {
    unsigned char bytes[kStubHeaderSize];
    DWORD read = 0;
    SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    if (!ReadFile(file, bytes, kStubHeaderSize, &read, nullptr) || read != kStubHeaderSize) {
        return false;
    }
    header = decodeStubHeader(bytes);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: verify_bench IMAGE [ROUNDS]\n");
        return 2;
    }
    int rounds = argc > 2 ? std::atoi(argv[2]) : 5;
    HANDLE file = CreateFileA(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 2;
    }
    LARGE_INTEGER size;
    GetFileSizeEx(file, &size);
    std::vector<unsigned char> bytes(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    double megabytes = double(bytes.size()) / (1 << 20);

    std::vector<double> engine, floor, ratios;
    for (int round = 0; round < rounds; ++round) {
        // Alternate the two so that neither always runs on a warmer machine.
        double start = seconds();
        uLong sum = adler32(adler32(0, nullptr, 0), bytes.data() + kChecksumStart,
                            static_cast<uInt>(bytes.size() - kChecksumStart));
        double inMemory = seconds() - start;

        runEnvironment.selfFile.reset(file);
        StubHeader header;
        start = seconds();
        bool ok = readHeader(file, header) && verifySetupImage(header) && loadSetupScript(header);
        double verified = seconds() - start;
        if (!ok || header.checksum != static_cast<std::uint32_t>(sum)) {
            std::fprintf(stderr, "round %d: the image did not verify\n", round);
            return 1;
        }
        runEnvironment.script.reset();
        engine.push_back(verified);
        floor.push_back(inMemory);
        ratios.push_back(verified / inMemory);
        std::printf("round %d: verify+load %.1f MB/s, adler32 in memory %.1f MB/s, ratio %.2f\n",
                    round, megabytes / verified, megabytes / inMemory, verified / inMemory);
    }
    std::printf(
        "median over %d rounds (%.0f MB image): verify+load %.1f MB/s, adler32 %.1f MB/s, "
        "ratio %.2f (target <= 1.5)\n",
        rounds, megabytes, megabytes / median(engine), megabytes / median(floor), median(ratios));
    return 0;
}
