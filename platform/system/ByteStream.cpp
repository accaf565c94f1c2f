#include "platform/system/ByteStream.hpp"

namespace zelvana::platform {

std::unique_ptr<FileOutputStream> FileOutputStream::open(const std::filesystem::path& path,
                                                         FileOpenOptions options,
                                                         mode_t permissions, std::string* error) {
    auto file = FileStream::open(path, options, permissions, error);
    if (!file) return nullptr;
    return std::unique_ptr<FileOutputStream>(new FileOutputStream(std::move(*file)));
}

bool FileOutputStream::write(std::string_view bytes) {
    if (failed_ || closed_) return false;
    failed_ = !file_.write(bytes);
    return !failed_;
}

bool FileOutputStream::close() {
    if (closed_) return !failed_;
    closed_ = true;
    const bool synced = !failed_ && file_.sync();
    const bool closed = file_.close();
    failed_ = !(synced && closed);
    return !failed_;
}

}  // namespace zelvana::platform
