// A stand-in for the tag library "mp3infp.dll", backed by TagLib. It reads
// title and artist from ID3v1, ID3v2 and APE tags of MP3 files and from the
// RIFF INFO list of WAV files (MP3 in RIFF included), and hands every text
// out in the ANSI code page.
//
// Values: INAM/IART (non-MP3 files), INAM_v1/IART_v1, INAM_v2/IART_v2,
// INAM_APE/IART_APE, INAM_rmp/IART_rmp. A value exists when its tag exists;
// it may then be empty. The version is 0x259 unless TARNUVO_TAG_VERSION
// holds another number (decimal, or hexadecimal after "0x").
#include <windows.h>

#include <apetag.h>
#include <fileref.h>
#include <id3v1tag.h>
#include <id3v2tag.h>
#include <infotag.h>
#include <mpegfile.h>
#include <textidentificationframe.h>
#include <tfilestream.h>
#include <wavfile.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

namespace {

constexpr DWORD kDefaultVersion = 0x259;

// Types and tag-kind bits as the program tests them.
constexpr DWORD kTypeUnknown = 0;
constexpr DWORD kTypeMp3 = 1;
constexpr DWORD kTypeWave = 2;
constexpr DWORD kTypeOther = 3;
constexpr DWORD kKindId3v1 = 0x01;
constexpr DWORD kKindId3v2 = 0x02;
constexpr DWORD kKindRiffMp3 = 0x04;
constexpr DWORD kKindApe = 0x100;

constexpr int kMpegLayer3Format = 0x55;

// What the last load on this thread found; values stay valid until the
// thread's next load, whatever other threads read meanwhile.
struct LastFile {
    DWORD type = kTypeUnknown;
    DWORD kinds = 0;
    std::map<std::string, std::string> values;
};
thread_local LastFile t_last;

std::string toAnsi(const TagLib::String& text) {
    const std::wstring wide = text.toWString();
    if (wide.empty()) return std::string();
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return std::string();
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, &out[0], n, nullptr, nullptr);
    out.resize(static_cast<size_t>(n - 1));
    return out;
}

// Texts without a declared encoding (ID3v1, Latin-1 ID3v2 frames, RIFF INFO)
// are in the writer's code page in practice: their bytes pass unchanged.
std::string rawBytes(const TagLib::String& latin1) {
    return latin1.to8Bit(false);
}

// Keeps RIFF INFO bytes as they are (TagLib would read them as UTF-8), up to
// the first zero.
class ByteStringHandler : public TagLib::RIFF::Info::StringHandler {
public:
    TagLib::String parse(const TagLib::ByteVector& data) const override {
        const int zero = data.find(TagLib::ByteVector(1, '\0'));
        const TagLib::ByteVector text = zero < 0 ? data : data.mid(0, static_cast<unsigned>(zero));
        return TagLib::String(text, TagLib::String::Latin1);
    }
};
const ByteStringHandler g_infoHandler;

std::string id3v2Text(TagLib::ID3v2::Tag& tag, const char* frameId) {
    const TagLib::ID3v2::FrameList& frames = tag.frameListMap()[frameId];
    if (frames.isEmpty()) return std::string();
    auto* text = dynamic_cast<TagLib::ID3v2::TextIdentificationFrame*>(frames.front());
    if (!text) return toAnsi(frames.front()->toString());
    const TagLib::String value =
        text->fieldList().isEmpty() ? TagLib::String() : text->fieldList().front();
    return text->textEncoding() == TagLib::String::Latin1 ? rawBytes(value) : toAnsi(value);
}

void readInfo(TagLib::RIFF::Info::Tag* info, const char* titleName, const char* artistName) {
    if (!info) return;
    t_last.values[titleName] = rawBytes(info->fieldText("INAM"));
    t_last.values[artistName] = rawBytes(info->fieldText("IART"));
}

void readId3v2(TagLib::ID3v2::Tag* tag) {
    if (!tag) return;
    t_last.kinds |= kKindId3v2;
    t_last.values["INAM_v2"] = id3v2Text(*tag, "TIT2");
    t_last.values["IART_v2"] = id3v2Text(*tag, "TPE1");
}

bool readWave(const wchar_t* path) {
    TagLib::RIFF::WAV::File file(path, true, TagLib::AudioProperties::Fast);
    if (!file.isValid()) return false;
    const bool mp3 =
        file.audioProperties() && file.audioProperties()->format() == kMpegLayer3Format;
    TagLib::RIFF::Info::Tag* info = file.hasInfoTag() ? file.InfoTag() : nullptr;
    if (!mp3) {
        t_last.type = kTypeWave;
        readInfo(info, "INAM", "IART");
        return true;
    }
    t_last.type = kTypeMp3;
    if (info) t_last.kinds |= kKindRiffMp3;
    readInfo(info, "INAM_rmp", "IART_rmp");
    if (file.hasID3v2Tag()) readId3v2(file.ID3v2Tag());
    return true;
}

bool readMpeg(const wchar_t* path) {
    {
        TagLib::FileStream stream(path, true);
        if (!stream.isOpen() || !TagLib::MPEG::File::isSupported(&stream)) return false;
    }
    TagLib::MPEG::File file(path, false);
    if (!file.isValid()) return false;
    t_last.type = kTypeMp3;
    if (file.hasID3v1Tag()) {
        TagLib::ID3v1::Tag* tag = file.ID3v1Tag();
        t_last.kinds |= kKindId3v1;
        t_last.values["INAM_v1"] = rawBytes(tag->title());
        t_last.values["IART_v1"] = rawBytes(tag->artist());
    }
    if (file.hasID3v2Tag()) readId3v2(file.ID3v2Tag());
    if (file.hasAPETag()) {
        TagLib::APE::Tag* tag = file.APETag();
        t_last.kinds |= kKindApe;
        t_last.values["INAM_APE"] = toAnsi(tag->title());
        t_last.values["IART_APE"] = toAnsi(tag->artist());
    }
    return true;
}

bool readOther(const wchar_t* path) {
    TagLib::FileRef ref(path, false);
    if (ref.isNull()) return false;
    t_last.type = kTypeOther;
    if (TagLib::Tag* tag = ref.tag()) {
        t_last.values["INAM"] = toAnsi(tag->title());
        t_last.values["IART"] = toAnsi(tag->artist());
    }
    return true;
}

bool startsWith(const char* data, size_t size, const char* magic, size_t at) {
    const size_t n = std::strlen(magic);
    return size >= at + n && std::memcmp(data + at, magic, n) == 0;
}

}  // namespace

#define TAG_EXPORT extern "C" __declspec(dllexport)

TAG_EXPORT DWORD WINAPI mp3infp_GetVer() {
    char text[32];
    const DWORD n = GetEnvironmentVariableA("TARNUVO_TAG_VERSION", text, sizeof text);
    if (n == 0 || n >= sizeof text) return kDefaultVersion;
    return static_cast<DWORD>(std::strtoul(text, nullptr, 0));
}

// 0 when the file was read (its type may still be unknown); -1 when it cannot be opened.
TAG_EXPORT DWORD WINAPI mp3infp_Load(HWND, LPCSTR path) {
    t_last = LastFile();
    if (!path) return static_cast<DWORD>(-1);
    const int n = MultiByteToWideChar(CP_ACP, 0, path, -1, nullptr, 0);
    if (n <= 1) return static_cast<DWORD>(-1);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path, -1, &wide[0], n);
    wide.resize(static_cast<size_t>(n - 1));

    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return static_cast<DWORD>(-1);
    char head[12] = {};
    DWORD got = 0;
    ReadFile(file, head, sizeof head, &got, nullptr);
    CloseHandle(file);

    TagLib::RIFF::Info::Tag::setStringHandler(&g_infoHandler);
    if (startsWith(head, got, "RIFF", 0) && startsWith(head, got, "WAVE", 8)) {
        if (!readWave(wide.c_str())) t_last = LastFile();
    } else if (!readMpeg(wide.c_str())) {
        t_last = LastFile();
        if (!readOther(wide.c_str())) t_last = LastFile();
    }
    return 0;
}

TAG_EXPORT DWORD WINAPI mp3infp_GetType() {
    return t_last.type;
}

TAG_EXPORT DWORD WINAPI mp3infp_mp3_GetTagType() {
    return t_last.type == kTypeMp3 ? t_last.kinds : 0;
}

TAG_EXPORT BOOL WINAPI mp3infp_GetValue(LPCSTR name, char** value) {
    if (!name || !value) return FALSE;
    auto it = t_last.values.find(name);
    if (it == t_last.values.end()) return FALSE;
    *value = &it->second[0];
    return TRUE;
}
