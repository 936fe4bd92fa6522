// Text extraction from word-processor (.docx) documents.
#ifndef QUILLMOOR_INPUT_DOCXREADER_H_
#define QUILLMOOR_INPUT_DOCXREADER_H_

namespace quillmoor {

struct Program;

// Reads the text of the docx input named in the input box into p.strLine. Returns
// false, after telling the person why, when it cannot.
bool ReadDocxDocument(Program& p);

}  // namespace quillmoor

#endif  // QUILLMOOR_INPUT_DOCXREADER_H_
