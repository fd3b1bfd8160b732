#include "icon_compiler_cli.h"

#include <cstdio>
#include <fstream>

#include "ico_encoder.h"
#include "pixel_map.h"
#include "ppm_encoder.h"

namespace quor6::tools {
namespace {

constexpr const char* kUsage =
    "usage: icon_compiler <map.txt> <out.ico>\n"
    "       icon_compiler --ppm <size> <map.txt> <out.ppm>\n";

bool writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return false;  // nothing was created (the path may even be a folder): nothing to remove
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (out)
        return true;
    // A half-written icon must not look like a finished build output.
    std::remove(path.c_str());
    return false;
}

}  // namespace

std::optional<IconJob> parseIconCommandLine(const std::vector<std::string>& args) {
    IconJob job;
    std::size_t first = 0;
    if (!args.empty() && args[0].rfind("--", 0) == 0) {
        if (args[0] != "--ppm" || args.size() < 2)
            return std::nullopt;
        job.output = IconOutput::kPpm;
        for (const int size : kFrameSizes) {
            if (args[1] == std::to_string(size))
                job.ppmSize = size;
        }
        if (job.ppmSize == 0)
            return std::nullopt;
        first = 2;
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
    const std::optional<std::vector<PixelMap>> frames = loadIconFrames(job->mapPath, error);
    if (!frames) {
        errors << "icon_compiler: " << error << "\n";
        return kExitFailed;
    }
    std::string bytes;
    if (job->output == IconOutput::kIco) {
        const std::vector<std::uint8_t> ico = encodeIco(*frames);
        bytes.assign(ico.begin(), ico.end());
    } else if (const PixelMap* frame = frameOfSize(*frames, job->ppmSize)) {
        bytes = encodePpm(*frame);
    } else {
        errors << "icon_compiler: " << job->mapPath << ": no " << job->ppmSize << "x"
               << job->ppmSize << " frame\n";
        return kExitFailed;
    }
    if (!writeFile(job->outPath, bytes)) {
        errors << "icon_compiler: " << job->outPath << ": cannot write\n";
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace quor6::tools
