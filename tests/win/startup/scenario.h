// Runs Orvexa.exe (or a copy of it) as a user would, with the message log
// seam switched on, and reads back what it showed.
#pragma once

#include "base/fsys.h"
#include "base/messagelog.h"
#include "base/stream.h"

#include <windows.h>

#include <string>
#include <vector>

namespace orv::test {

struct LogLine {
    std::string kind, caption, text, detail;
};

inline std::string ProgramFolder() {
    std::string exe = fsys::ExecutablePath();
    return exe.substr(0, exe.find_last_of('\\'));
}

inline std::string OrvexaExe() {
    return ProgramFolder() + "\\Orvexa.exe";
}

inline std::vector<LogLine> ReadLog(const std::string& path) {
    std::vector<LogLine> lines;
    std::FILE* f = fsys::OpenFile(path, "rb");
    if (!f)
        return lines;
    std::string all;
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        all.append(buf, n);
    std::fclose(f);
    size_t pos = 0;
    while (pos < all.size()) {
        size_t end = all.find('\n', pos);
        std::string line = all.substr(pos, end - pos);
        pos = end == std::string::npos ? all.size() : end + 1;
        std::vector<std::string> parts;
        size_t p = 0;
        for (;;) {
            size_t t = line.find('\t', p);
            parts.push_back(UnescapeLogText(line.substr(p, t - p)));
            if (t == std::string::npos)
                break;
            p = t + 1;
        }
        parts.resize(4);
        lines.push_back({parts[0], parts[1], parts[2], parts[3]});
    }
    return lines;
}

struct RunResult {
    DWORD exitCode = 0xFFFFFFFF;
    bool finished = false;
    std::vector<LogLine> log;
};

// Runs exe with arguments in its own folder, with the message log at
// logPath, the answers given, and TEMP/TMP pointing at tempFolder.
inline RunResult RunProgram(const std::string& exe, const std::string& args,
                            const std::string& logPath, const std::string& answers,
                            const std::string& tempFolder) {
    fsys::RemoveFile(logPath);
    SetEnvironmentVariableA("ORVEXA_MESSAGE_LOG", logPath.c_str());
    SetEnvironmentVariableA("ORVEXA_ANSWERS", answers.c_str());
    char oldTemp[MAX_PATH] = "", oldTmp[MAX_PATH] = "";
    GetEnvironmentVariableA("TEMP", oldTemp, MAX_PATH);
    GetEnvironmentVariableA("TMP", oldTmp, MAX_PATH);
    if (!tempFolder.empty()) {
        SetEnvironmentVariableA("TEMP", tempFolder.c_str());
        SetEnvironmentVariableA("TMP", tempFolder.c_str());
    }
    std::string cmd = "\"" + exe + "\"" + (args.empty() ? "" : " " + args);
    std::string dir = exe.substr(0, exe.find_last_of('\\'));
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    RunResult r;
    if (CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                       &si, &pi)) {
        r.finished = WaitForSingleObject(pi.hProcess, 60000) == WAIT_OBJECT_0;
        if (!r.finished)
            TerminateProcess(pi.hProcess, 99);
        GetExitCodeProcess(pi.hProcess, &r.exitCode);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    SetEnvironmentVariableA("ORVEXA_MESSAGE_LOG", nullptr);
    SetEnvironmentVariableA("ORVEXA_ANSWERS", nullptr);
    SetEnvironmentVariableA("TEMP", oldTemp);
    SetEnvironmentVariableA("TMP", oldTmp);
    r.log = ReadLog(logPath);
    return r;
}

inline std::string ReadAll(const std::string& path) {
    FileStream f;
    if (!f.Open(path, FileStream::Mode::Read))
        return {};
    std::string s(static_cast<size_t>(f.Size()), '\0');
    f.ReadExact(s.data(), s.size());
    return s;
}

inline bool WriteAll(const std::string& path, const std::string& bytes) {
    FileStream f;
    if (!f.Open(path, FileStream::Mode::Create))
        return false;
    f.WriteExact(bytes.data(), bytes.size());
    return f.Close();
}

// Overwrites the UTF-16 value that follows the key "OriginalFilename" in an
// executable's version resource with text (padded with blanks to the
// stored 14 characters); the file's length does not change.
inline std::string WithRecordedName(std::string exe, const std::string& text) {
    std::string key;
    for (char c : std::string("OriginalFilename"))
        key += std::string{c, '\0'};
    size_t at = exe.find(key);
    if (at == std::string::npos)
        return {};
    at += key.size() + 2; // terminating zero
    while (at % 4)
        ++at;
    std::string padded = text;
    padded.resize(14, ' ');
    for (size_t i = 0; i < padded.size(); ++i) {
        exe[at + 2 * i] = padded[i];
        exe[at + 2 * i + 1] = '\0';
    }
    return exe;
}

} // namespace orv::test
