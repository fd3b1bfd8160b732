#include "icon_compiler_cli.h"

#include <cstdio>
#include <fstream>

#include "ico_encoder.h"
#include "pixel_map.h"
#include "ppm_encoder.h"
#include "tray_sample.h"

namespace quor6::tools {
namespace {

constexpr const char* kUsage =
    "usage: icon_compiler <map.txt> <out.ico>\n"
    "       icon_compiler --ppm <map.txt> <out.ppm>\n"
    "       icon_compiler --tray16-ppm <map.txt> <out.ppm>\n";

std::string encodeFor(IconOutput output, const PixelMap& map) {
    switch (output) {
        case IconOutput::kIco: {
            const std::vector<std::uint8_t> bytes = encodeIco(map);
            return std::string(bytes.begin(), bytes.end());
        }
        case IconOutput::kPpm:
            return encodePpm(map);
        case IconOutput::kTray16Ppm:
            return encodePpm(sampleForTray(map));
    }
    return {};
}

bool writeFile(const std::string& path, const std::string& bytes) {
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        if (out) {
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
            out.close();
            if (out)
                return true;
        }
    }
    // A half-written icon must not look like a finished build output.
    std::remove(path.c_str());
    return false;
}

}  // namespace

std::optional<IconJob> parseIconCommandLine(const std::vector<std::string>& args) {
    IconJob job;
    std::size_t first = 0;
    if (!args.empty() && args[0].rfind("--", 0) == 0) {
        if (args[0] == "--ppm") {
            job.output = IconOutput::kPpm;
        } else if (args[0] == "--tray16-ppm") {
            job.output = IconOutput::kTray16Ppm;
        } else {
            return std::nullopt;
        }
        first = 1;
    }
    if (args.size() != first + 2)
        return std::nullopt;
    job.mapPath = args[first];
    job.outPath = args[first + 1];
    if (job.mapPath.empty() || job.outPath.empty())
        return std::nullopt;
    return job;
}

int runIconCompiler(const std::vector<std::string>& args, std::ostream& errors) {
    const std::optional<IconJob> job = parseIconCommandLine(args);
    if (!job) {
        errors << kUsage;
        return kExitUsage;
    }
    std::string error;
    const std::optional<PixelMap> map = loadPixelMap(job->mapPath, error);
    if (!map) {
        errors << "icon_compiler: " << error << "\n";
        return kExitFailed;
    }
    if (!writeFile(job->outPath, encodeFor(job->output, *map))) {
        errors << "icon_compiler: " << job->outPath << ": cannot write\n";
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace quor6::tools
