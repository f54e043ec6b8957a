// Small helpers for tests that need files: a private temporary directory.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

class TTempDir {
public:
    TTempDir()
    {
        std::string templ = (std::filesystem::temp_directory_path() / "qmtest-XXXXXX").string();
        std::vector<char> buf(templ.begin(), templ.end());
        buf.push_back(0);
        if (mkdtemp(buf.data()))
            Path = buf.data();
    }
    ~TTempDir()
    {
        std::error_code ec;
        if (!Path.empty())
            std::filesystem::remove_all(Path, ec);
    }
    std::string File(const std::string& name) const { return (std::filesystem::path(Path) / name).string(); }
    const std::string& Dir() const { return Path; }

private:
    std::string Path;
};

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<uint8_t> ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }
