#include "output/PeopleText.h"

#include <algorithm>
#include <cstring>

#include "shared/Cp1252.h"
#include "shared/Utf8.h"

namespace quillmoor {
namespace {

// Engine text (Windows-1252) as UTF-8, CR LF as LF; `pendingCR` carries a CR that
// ended the previous piece. Line by line: a line of ASCII is copied whole.
void EngineToUtf8Lf(std::string_view text, bool* pendingCR, std::string* out) {
  const size_t n = text.size();
  if (*pendingCR) {
    *pendingCR = false;
    if (n > 0 && text[0] != '\n') out->push_back('\r');
  }
  const char* data = text.data();
  size_t i = 0;
  while (i < n) {
    const void* hit = std::memchr(data + i, '\r', n - i);
    const size_t cr = hit ? static_cast<size_t>(static_cast<const char*>(hit) - data) : n;
    if (NextNonAscii(text, i, cr) == cr) {
      out->append(data + i, cr - i);
    } else {
      for (size_t k = i; k < cr; ++k) AppendUtf8(Cp1252CodePoint(Byte(data[k])), out);
    }
    if (cr >= n) break;
    if (cr + 1 == n) {
      *pendingCR = true;
    } else if (data[cr + 1] != '\n') {
      out->push_back('\r');
    }
    i = cr + 1;
  }
}

// UTF-8 text with CR LF as LF.
void Utf8Lf(std::string_view text, bool* pendingCR, std::string* out) {
  if (*pendingCR) {
    *pendingCR = false;
    if (!text.empty() && text[0] != '\n') out->push_back('\r');
  }
  for (size_t i = 0; i < text.size();) {
    const size_t cr = text.find('\r', i);
    if (cr == std::string_view::npos) {
      out->append(text, i);
      break;
    }
    out->append(text, i, cr - i);
    if (cr + 1 == text.size()) {
      *pendingCR = true;
    } else if (text[cr + 1] != '\n') {
      out->push_back('\r');
    }
    i = cr + 1;
  }
}

}  // namespace

void PeopleTextEncoder::Append(TextPiece piece, std::string* out) {
  if (windowsText_) {
    if (piece.engineText && !engineUtf8_) {
      out->append(piece.text);
    } else {
      const size_t before = out->size();
      out->append(Utf8ToCp1252Lossy(piece.text));
      if (piece.engineText) {
        const int64_t marks =
            std::count(out->begin() + static_cast<std::ptrdiff_t>(before), out->end(), '?');
        replaced_ += marks - std::count(piece.text.begin(), piece.text.end(), '?');
      }
    }
    return;
  }
  if (piece.engineText && !engineUtf8_) {
    EngineToUtf8Lf(piece.text, &pendingCR_, out);
  } else {
    Utf8Lf(piece.text, &pendingCR_, out);
  }
}

void PeopleTextEncoder::Finish(std::string* out) {
  if (pendingCR_) out->push_back('\r');
  pendingCR_ = false;
}

std::string EncodePeopleText(const std::vector<TextPiece>& pieces, bool windowsText,
                             WordRuleSet engineRules) {
  PeopleTextEncoder encoder(windowsText, engineRules);
  std::string out;
  for (const TextPiece& piece : pieces) encoder.Append(piece, &out);
  encoder.Finish(&out);
  return out;
}

bool WritePeopleTextPiece(PeopleTextEncoder& encoder, TextPiece piece, FileWriter& writer,
                          std::string* buffer, FileError* error) {
  constexpr size_t kSlice = 1 << 20;
  size_t at = 0;
  while (at < piece.text.size()) {
    // Windows-1252 engine text is cut anywhere (one byte a character); UTF-8 between
    // characters.
    size_t end = std::min(piece.text.size(), at + kSlice);
    if (encoder.IsUtf8(piece) && end < piece.text.size()) {
      end = at + std::max<size_t>(1, Utf8CutPoint(piece.text.substr(at), end - at));
    }
    buffer->clear();
    // Made once at about the slice's size (UTF-8 may need a little more).
    buffer->reserve(end - at + (end - at) / 8);
    encoder.Append(TextPiece{piece.text.substr(at, end - at), piece.engineText}, buffer);
    if (!writer.Write(buffer->data(), buffer->size(), error)) return false;
    at = end;
  }
  return true;
}

bool WritePeopleTextFile(const std::string& path, const std::vector<TextPiece>& pieces,
                         bool windowsText, FileError* error, bool durable, WordRuleSet engineRules,
                         int64_t* replaced) {
  return WriteFileAtomically(
      path,
      [&](FileWriter& writer, FileError* e) {
        PeopleTextEncoder encoder(windowsText, engineRules);
        std::string buffer;
        for (const TextPiece& piece : pieces) {
          if (!WritePeopleTextPiece(encoder, piece, writer, &buffer, e)) return false;
        }
        buffer.clear();
        encoder.Finish(&buffer);
        if (replaced != nullptr) *replaced = encoder.replaced();
        return writer.Write(buffer.data(), buffer.size(), e);
      },
      error, durable);
}

}  // namespace quillmoor
