// lerva-pe-manifest EXE...: checks that each Windows program's application
// manifest names the processor the program is built for. A 64-bit program
// whose manifest asks for x86 assemblies (or the other way round) cannot bind
// the Common Controls it depends on where real side-by-side assemblies are
// installed, and then creates no edit boxes or buttons at all.
//
// Reads the PE machine type and the RT_MANIFEST resource straight from the
// file, so it runs on any machine, with or without Wine.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

struct BadFile {
    std::string why;
};

std::uint32_t read(const Bytes& file, std::size_t at, int size) {
    if (at + size > file.size()) throw BadFile{"truncated"};
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | file[at + i];
    return value;
}

struct Section {
    std::uint32_t address, size, fileOffset;
};

class PeFile {
public:
    explicit PeFile(Bytes bytes) : file_(std::move(bytes)) {
        if (read(file_, 0, 2) != 0x5A4D) throw BadFile{"no MZ header"};
        const std::uint32_t pe = read(file_, 0x3C, 4);
        if (read(file_, pe, 4) != 0x4550) throw BadFile{"no PE header"};
        machine_ = read(file_, pe + 4, 2);
        const std::uint32_t sections = read(file_, pe + 6, 2);
        const std::uint32_t optionalSize = read(file_, pe + 20, 2);
        const std::uint32_t optional = pe + 24;
        const bool pe32plus = read(file_, optional, 2) == 0x20B;
        const std::uint32_t directories = optional + (pe32plus ? 112 : 96);
        resourceRoot_ = read(file_, directories + 2 * 8, 4);   // directory 2: resources
        for (std::uint32_t i = 0; i < sections; ++i) {
            const std::uint32_t header = optional + optionalSize + i * 40;
            sections_.push_back({read(file_, header + 12, 4), read(file_, header + 8, 4),
                                 read(file_, header + 20, 4)});
        }
    }

    std::uint32_t machine() const { return machine_; }

    // The first language's data of resource type/id, if the program has it.
    std::optional<std::string> resource(std::uint32_t type, std::uint32_t id) const {
        if (resourceRoot_ == 0) return std::nullopt;
        const std::uint32_t root = offsetOf(resourceRoot_);
        auto typeDir = child(root, root, type);
        if (!typeDir) return std::nullopt;
        auto idDir = child(root, *typeDir, id);
        if (!idDir) return std::nullopt;
        auto leaf = child(root, *idDir, std::nullopt);
        if (!leaf) return std::nullopt;
        const std::uint32_t data = offsetOf(read(file_, *leaf, 4));
        const std::uint32_t size = read(file_, *leaf + 4, 4);
        if (data + size > file_.size()) throw BadFile{"resource outside the file"};
        return std::string(file_.begin() + data, file_.begin() + data + size);
    }

private:
    std::uint32_t offsetOf(std::uint32_t address) const {
        for (const Section& s : sections_)
            if (address >= s.address && address < s.address + s.size)
                return address - s.address + s.fileOffset;
        throw BadFile{"address outside every section"};
    }

    // The file offset of a directory entry's target whose id is `id` (or the
    // first entry when no id is given).
    std::optional<std::uint32_t> child(std::uint32_t root, std::uint32_t dir,
                                       std::optional<std::uint32_t> id) const {
        const std::uint32_t named = read(file_, dir + 12, 2), ids = read(file_, dir + 14, 2);
        for (std::uint32_t i = 0; i < named + ids; ++i) {
            const std::uint32_t entry = dir + 16 + i * 8;
            const std::uint32_t name = read(file_, entry, 4);
            if (id && ((name & 0x80000000u) || name != *id)) continue;
            return root + (read(file_, entry + 4, 4) & 0x7FFFFFFFu);
        }
        return std::nullopt;
    }

    Bytes file_;
    std::uint32_t machine_ = 0;
    std::uint32_t resourceRoot_ = 0;
    std::vector<Section> sections_;
};

// The manifest's word for a PE machine type.
std::string architectureOf(std::uint32_t machine) {
    switch (machine) {
        case 0x14C: return "x86";
        case 0x8664: return "amd64";
        case 0xAA64: return "arm64";
        default: return "unknown";
    }
}

bool check(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::printf("FAIL: %s: cannot be read\n", path);
        return false;
    }
    try {
        const PeFile exe(Bytes(std::istreambuf_iterator<char>(in), {}));
        const std::string wanted = architectureOf(exe.machine());
        const auto manifest = exe.resource(24, 1);
        if (!manifest) {
            std::printf("FAIL: %s: no application manifest\n", path);
            return false;
        }
        static const std::regex attribute(R"(processorArchitecture\s*=\s*["']([^"']*)["'])");
        std::set<std::string> named;
        int count = 0;
        for (std::sregex_iterator it(manifest->begin(), manifest->end(), attribute), end; it != end; ++it) {
            named.insert((*it)[1]);
            ++count;
        }
        named.erase("*");   // "any processor" agrees with every program
        if (named.empty() || named != std::set<std::string>{wanted}) {
            std::string list;
            for (const auto& name : named) list += " " + name;
            std::printf("FAIL: %s: a program for %s whose manifest names%s\n", path, wanted.c_str(),
                        list.empty() ? " no processor" : list.c_str());
            return false;
        }
        std::printf("ok: %s: a program for %s, and its manifest names %s %d time(s)\n", path,
                    wanted.c_str(), wanted.c_str(), count);
        return true;
    } catch (const BadFile& bad) {
        std::printf("FAIL: %s: not a readable Windows program (%s)\n", path, bad.why.c_str());
        return false;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: lerva-pe-manifest EXE...\n");
        return 2;
    }
    bool ok = true;
    for (int i = 1; i < argc; ++i) ok = check(argv[i]) && ok;
    return ok ? 0 : 1;
}
