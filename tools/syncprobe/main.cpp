#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

extern "C" {
#include <libavutil/log.h>
}

#include "tools/syncprobe/SyncMarks.h"
#include "version/ProjectVersion.h"

namespace {

constexpr int EXIT_USAGE = 2;
constexpr double MILLISECONDS = 1000;

constexpr const char* USAGE = "usage: syncprobe FILE\n"
                              "       syncprobe --help | --version\n";
constexpr const char* DESCRIPTION = "\n"
                                    "Finds the white flashes and the tone bursts of a recording made with\n"
                                    "mpegrec --sync-marks and pairs each flash with the burst of the same mark.\n"
                                    "Prints, as \"name value\" lines, how many flashes, bursts and pairs it\n"
                                    "found, then how far the audio lies behind the picture (negative: ahead)\n"
                                    "at the first, middle and last pair: where (start-at, seconds of the\n"
                                    "picture) and by how much (start-ms).\n";

} // namespace

// Prints, for a file recorded with mpegrec --sync-marks, how far the audio
// lies behind the picture (negative: ahead) at its first, middle and last
// paired mark, as "name value" lines.
int main(int argc, char** argv)
{
    const std::string strArgument = argc == 2 ? argv[1] : "";
    if (strArgument == "--help") {
        std::cout << USAGE << DESCRIPTION;
        return EXIT_SUCCESS;
    }
    if (strArgument == "--version") {
        std::cout << "syncprobe (SkinRecorder) " << SKINREC_VERSION << "\n";
        return EXIT_SUCCESS;
    }
    if (strArgument.empty() || strArgument.starts_with("--")) {
        std::cerr << USAGE;
        return EXIT_USAGE;
    }
    av_log_set_level(AV_LOG_QUIET);
    std::string strError;
    const std::optional<CSyncMarks> marks = FindSyncMarks(strArgument, strError);
    if (!marks) {
        std::cerr << "syncprobe: " << strError << "\n";
        return EXIT_FAILURE;
    }
    const std::vector<CSyncOffset> offsets = PairSyncMarks(*marks);
    std::printf("flashes %zu\nbursts %zu\npairs %zu\n", marks->flashSeconds.size(), marks->burstSeconds.size(),
                offsets.size());
    if (offsets.empty()) {
        std::cerr << "syncprobe: no flash has a burst near it\n";
        return EXIT_FAILURE;
    }
    const CSyncOffset& middle = offsets[offsets.size() / 2];
    std::printf("start-at %.3f\nstart-ms %.1f\nmiddle-at %.3f\nmiddle-ms %.1f\nend-at %.3f\nend-ms %.1f\n",
                offsets.front().dVideoSeconds, offsets.front().dOffsetSeconds * MILLISECONDS, middle.dVideoSeconds,
                middle.dOffsetSeconds * MILLISECONDS, offsets.back().dVideoSeconds,
                offsets.back().dOffsetSeconds * MILLISECONDS);
    return EXIT_SUCCESS;
}
