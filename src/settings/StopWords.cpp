#include "settings/StopWords.h"

#include "shared/Program.h"

namespace quillmoor {

bool IsStopWord(const Program&, const std::string&) { return false; }

bool CheckAllowedExtraChars(Program&) { return true; }

}  // namespace quillmoor
