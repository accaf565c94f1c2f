#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "Logging/BaseDestination.hpp"
#include "platform/foundation/FileManager.hpp"

namespace zelvana::logging {

// Appends each line to a log file under file coordination, opening and
// closing the file per line; with more than one file asked for, rotates it by
// size into numbered files beside it (".1" newest).
class FileDestination : public BaseDestination {
public:
    static constexpr std::int64_t defaultMaxSize = 5 * 1024 * 1024;

    // Without a location: <Caches>/<executable name>/Logging.log.
    explicit FileDestination(std::optional<std::filesystem::path> logFileURL);

    int defaultHashValue() const override { return 2; }
    std::optional<std::string> send(const LogEntry& entry) override;

    const std::optional<std::filesystem::path>& logFileURL() const { return logFileURL_; }
    void setLogFileURL(std::optional<std::filesystem::path> url) { logFileURL_ = std::move(url); }
    bool syncAfterEachWrite() const { return syncAfterEachWrite_; }
    void setSyncAfterEachWrite(bool value) { syncAfterEachWrite_ = value; }
    bool colored() const { return colored_; }
    // Puts terminal colour codes into the file, or takes them out.
    void setColored(bool value);
    std::int64_t logFileMaxSize() const { return logFileMaxSize_; }
    void setLogFileMaxSize(std::int64_t bytes) { logFileMaxSize_ = bytes; }
    int logFileAmount() const { return logFileAmount_; }
    void setLogFileAmount(int amount) { logFileAmount_ = amount; }
    const platform::FileManager& fileManager() const { return *fileManager_; }

    // Rotates when due, then appends the text and a line feed.
    virtual bool validateSaveFile(std::string_view text);
    virtual void rotateFile(const std::filesystem::path& path);
    virtual bool saveToFile(std::string_view bytes, const std::filesystem::path& url);
    virtual bool deleteLogFile();

private:
    static std::optional<std::filesystem::path> defaultLogFileURL();
    bool rotationDue(const std::filesystem::path& path) const;
    bool appendToFile(std::string_view bytes, const std::filesystem::path& url) const;

    std::optional<std::filesystem::path> logFileURL_;
    bool syncAfterEachWrite_ = false;
    bool colored_ = false;
    std::int64_t logFileMaxSize_ = defaultMaxSize;
    int logFileAmount_ = 1;
    const platform::FileManager* fileManager_ = &platform::FileManager::defaultManager();
};

}  // namespace zelvana::logging
