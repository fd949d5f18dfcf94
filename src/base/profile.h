// Profile (ini) files with the platform's semantics: section and key names
// match case-insensitively, the first spelling of a section or key is kept
// when its value is written, and every other section, key, comment and line
// survives a write unchanged.
#pragma once

#include <string>
#include <vector>

namespace orv {

class IniFile {
public:
    // Reads the file; a missing file is an empty profile. Returns false only
    // when the file exists and cannot be read.
    bool Load(const std::string& path);
    // Writes to a temporary file beside the target and replaces it.
    bool Save(const std::string& path) const;
    void Parse(const std::string& text);
    std::string Text() const;

    bool HasSection(const std::string& section) const;
    bool HasKey(const std::string& section, const std::string& key) const;
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& def) const;
    int ReadInteger(const std::string& section, const std::string& key, int def) const;
    bool ReadBool(const std::string& section, const std::string& key, bool def) const;
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    void WriteBool(const std::string& section, const std::string& key, bool value);

private:
    struct Line {
        std::string raw;     // the line as read (used when not a key line)
        std::string section; // for a section header: its name
        std::string key;     // for a key line: its name as spelled
        std::string value;
        enum Kind { Other, Section, Key } kind = Other;
    };
    std::vector<Line> lines_;
    // Index range of the first section of that name: [header, end).
    bool FindSection(const std::string& section, size_t& header, size_t& end) const;
};

} // namespace orv
