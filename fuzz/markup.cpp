// Markup stripping and character entities: tags leave one space each, and the entity
// decoder agrees with its literal reading.
#include "input/Markup.h"

#include "FuzzSupport.h"
#include "support/Reference.h"

using namespace quillmoor;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string stripped = RemoveTags(text);
  fuzz::Check(stripped.size() <= text.size() + 1, "stripping made the text longer");
  fuzz::Check(DecodeCharacterEntities(text) == reference::DecodeCharacterEntities(text),
              "the entity decoder differs from its reference");
  DecodeCharacterEntities(stripped);
  RemoveDoubleHyphens(text);
  return 0;
}
