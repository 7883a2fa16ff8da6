#pragma once

#include <string>

namespace vym {

class ErrorObject;
class Field;

// Copies the whole file into a field of an updatable recordset's edited row.
// A long-data field is reset and filled in chunks of 1024 bytes (the odd
// remainder first, then the whole chunks in file order); any other field gets
// the content in one piece. An empty or missing file shows file name +
// " empty file or not found." and copies nothing. False on that or on an
// error, which is reported to `errors` under "modChunk FileToColumn".
bool FileToColumn(ErrorObject* errors, Field& field, const std::string& fileName);

// Writes the field's content to the file, replacing any file of that name; a
// long-data field is read in chunks of 1024 bytes up to its actual size. The
// old file is replaced only once the new content is complete, so a failed
// read leaves it as it was. False on an error, reported under
// "modChunk ColumnToFile".
bool ColumnToFile(ErrorObject* errors, Field& field, const std::string& fileName);

}  // namespace vym
