#include "server/mime_types.h"

#include <map>
#include <utility>

#include "server/ascii_text.h"

namespace {

std::map<std::string, std::string> BuildMimeTypes() {
    static const std::pair<const char*, const char*> rows[] = {
        {".html", "text/html; charset=utf-8"},
        {".htm", "text/html; charset=utf-8"},
        {".js", "application/javascript; charset=utf-8"},
        {".ts", "application/typescript; charset=utf-8"},
        {".css", "text/css; charset=utf-8"},
        {".json", "application/json; charset=utf-8"},
        {".xml", "text/xml; charset=utf-8"},
        {".csv", "text/csv; charset=utf-8"},
        {".tsv", "text/tab-separated-values; charset=utf-8"},
        {".txt", "text/plain; charset=utf-8"},
        {".md", "text/markdown; charset=utf-8"},
        {".ini", "text/plain; charset=utf-8"},
        {".wasm", "application/wasm"},
        {".wast", "application/wast"},
        {".png", "image/png"},
        {".apng", "image/apng"},
        {".jpg", "image/jpeg"},
        {".jpeg", "image/jpeg"},
        {".jxl", "image/jxl"},
        {".svg", "image/svg+xml"},
        {".webp", "image/webp"},
        {".gif", "image/gif"},
        {".tif", "image/tiff"},
        {".tiff", "image/tiff"},
        {".bmp", "image/bmp"},
        {".ico", "image/x-icon"},
        {".avif", "image/avif"},
        {".webm", "video/webm"},
        {".m4a", "audio/mp4"},
        {".mp3", "audio/mpeg"},
        {".mp4", "video/mp4"},
        {".mpg", "video/mpeg"},
        {".mpeg", "video/mpeg"},
        {".opus", "audio/ogg; codecs=opus"},
        {".ogg", "audio/ogg"},
        {".ogv", "video/ogg"},
        {".flac", "audio/flac"},
        {".wav", "audio/wav"},
        {".mid", "audio/midi"},
        {".midi", "audio/midi"},
        {".kar", "audio/midi"},
        {".woff", "application/font-woff"},
        {".woff2", "font/woff2"},
        {".ttf", "application/font-sfnt"},
        {".otf", "application/font-sfnt"},
        {".eot", "application/vnd.ms-fontobject"},
        {".zip", "application/zip"},
        {".pdf", "application/pdf"},
        {".scml", "text/xml"},
        {".scon", "application/json"},
    };
    std::map<std::string, std::string> types;
    for (const auto& row : rows) types.emplace(row.first, row.second);  // an extension already present keeps its type
    return types;
}

// Built before start-up runs and only read afterwards.
const std::map<std::string, std::string> mimeTypes = BuildMimeTypes();

}  // namespace

std::string MimeTypeForPath(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    const std::string extension = dot == std::string::npos ? std::string() : ToLowerAscii(path.substr(dot));
    const auto found = mimeTypes.find(extension);
    return found == mimeTypes.end() ? "application/octet-stream" : found->second;
}
