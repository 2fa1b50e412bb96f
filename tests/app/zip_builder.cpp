#include "tests/app/zip_builder.h"

#include <cstdint>
#include <stdexcept>
#include <zlib.h>

namespace apptest {
namespace {

void Put16(std::string& out, std::uint32_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void Put32(std::string& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

std::string Deflated(const std::string& bytes) {
    z_stream stream{};
    if (deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY) !=
        Z_OK) {
        throw std::runtime_error("deflateInit2");
    }
    std::string out(deflateBound(&stream, static_cast<uLong>(bytes.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
    stream.avail_in = static_cast<uInt>(bytes.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    if (deflate(&stream, Z_FINISH) != Z_STREAM_END) throw std::runtime_error("deflate");
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

}  // namespace

std::string ZipBytes(const std::vector<ZipEntry>& entries) {
    std::string archive;
    std::string directory;
    for (const ZipEntry& entry : entries) {
        const std::string data = entry.deflate ? Deflated(entry.bytes) : entry.bytes;
        const auto crc =
            static_cast<std::uint32_t>(crc32(0L, reinterpret_cast<const Bytef*>(entry.bytes.data()),
                                             static_cast<uInt>(entry.bytes.size())));
        const auto offset = static_cast<std::uint32_t>(archive.size());
        const std::uint32_t method = entry.deflate ? 8 : 0;
        const auto name = static_cast<std::uint32_t>(entry.name.size());

        Put32(archive, 0x04034b50);
        Put16(archive, 20);  // version needed
        Put16(archive, 0);   // flags
        Put16(archive, method);
        Put32(archive, 0);  // time and date
        Put32(archive, crc);
        Put32(archive, static_cast<std::uint32_t>(data.size()));
        Put32(archive, static_cast<std::uint32_t>(entry.bytes.size()));
        Put16(archive, name);
        Put16(archive, 0);
        archive += entry.name + data;

        Put32(directory, 0x02014b50);
        Put16(directory, 20);  // made by
        Put16(directory, 20);  // needed
        Put16(directory, 0);
        Put16(directory, method);
        Put32(directory, 0);
        Put32(directory, crc);
        Put32(directory, static_cast<std::uint32_t>(data.size()));
        Put32(directory, static_cast<std::uint32_t>(entry.bytes.size()));
        Put16(directory, name);
        Put16(directory, 0);  // extra
        Put16(directory, 0);  // comment
        Put16(directory, 0);  // disk
        Put16(directory, 0);  // internal attributes
        Put32(directory, 0);  // external attributes
        Put32(directory, offset);
        directory += entry.name;
    }
    const auto directoryAt = static_cast<std::uint32_t>(archive.size());
    archive += directory;
    Put32(archive, 0x06054b50);
    Put16(archive, 0);
    Put16(archive, 0);
    Put16(archive, static_cast<std::uint32_t>(entries.size()));
    Put16(archive, static_cast<std::uint32_t>(entries.size()));
    Put32(archive, static_cast<std::uint32_t>(directory.size()));
    Put32(archive, directoryAt);
    Put16(archive, 0);
    return archive;
}

}  // namespace apptest
