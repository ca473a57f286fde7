#pragma once

// Generated Java-like files for the benchmarks: one per size in megabytes,
// written on first use into $TMPDIR (or /tmp) and removed at exit.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

class BenchFiles {
public:
    // Called before each generated line with its number, to add lines of a
    // benchmark's own (comments to find, say); the tail ends the file.
    using Extra = std::function<void(std::size_t line, std::string& text)>;

    // lines, when given, replace the Java-like lines the file is made of.
    BenchFiles(std::string name, Extra extra, std::string tail, std::vector<std::string> lines = {})
        : name_(std::move(name)), extra_(std::move(extra)), tail_(std::move(tail)), lines_(std::move(lines))
    {
    }
    ~BenchFiles()
    {
        for (const auto& [size, path] : paths_)
            std::remove(path.c_str());
    }
    BenchFiles(const BenchFiles&) = delete;
    BenchFiles& operator=(const BenchFiles&) = delete;

    const std::string& Path(int megabytes)
    {
        auto found = paths_.find(megabytes);
        if (found != paths_.end())
            return found->second;
        const char* folder = std::getenv("TMPDIR");
        std::string path = std::string(folder ? folder : "/tmp") + "/quillet_" + name_ + "_" +
                           std::to_string(megabytes) + "_" + std::to_string(getpid()) + ".java";
        Write(path, static_cast<std::size_t>(megabytes) * 1000 * 1000);
        return paths_.emplace(megabytes, path).first->second;
    }

private:
    void Write(const std::string& path, std::size_t size) const
    {
        static const char* const kLines[] = {
            "public class Account extends Base {\r\n",
            "    private int balance = 0;\r\n",
            "    public int getBalance() {\r\n",
            "        return balance; // current value\r\n",
            "    }\r\n",
            "    // deposit adds money to the account\r\n",
            "    public void deposit(int amount) {\r\n",
            "        if (amount > 0) balance += amount;\r\n",
            "\t\tSystem.out.println(\"deposit \" + amount);\r\n",
            "    }\r\n",
        };
        std::ofstream out(path, std::ios::binary);
        std::string chunk;
        std::size_t written = 0;
        for (std::size_t i = 0; written + chunk.size() < size; ++i) {
            if (extra_)
                extra_(i, chunk);
            chunk += lines_.empty() ? kLines[i % 10] : lines_[i % lines_.size()];
            if (chunk.size() > 1 << 20) {
                out << chunk;
                written += chunk.size();
                chunk.clear();
            }
        }
        out << chunk << tail_;
    }

    std::string name_;
    Extra extra_;
    std::string tail_;
    std::vector<std::string> lines_;
    std::map<int, std::string> paths_;
};

// The yardstick of the speed targets, as a benchmark's loop: reads the file
// in 500 kB blocks and counts its line feeds.
template <typename State>
void RunReadAndCountLines(State& state, const std::string& path)
{
    std::string buffer(512000, '\0');
    std::int64_t total = 0;
    for (auto _ : state) {
        const int descriptor = open(path.c_str(), O_RDONLY);
        std::int64_t lines = 0;
        ssize_t count = 0;
        while ((count = read(descriptor, buffer.data(), buffer.size())) > 0) {
            total += count;
            for (const char* p = buffer.data();
                 (p = static_cast<const char*>(std::memchr(p, '\n', buffer.data() + count - p))); ++p)
                ++lines;
        }
        close(descriptor);
        state.counters["lines"] = static_cast<double>(lines);
    }
    state.SetBytesProcessed(total);
}
