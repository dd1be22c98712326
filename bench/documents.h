// Generated application documents for the benchmarks: a full first tab and
// n entries in each of the four lists, written by the program's own writer.
#pragma once

#include "document/layout.h"

#include <QString>

namespace varnok::bench {

// The first tab of the generated applicant.
FieldValues applicantValues();

// The rows of one list: texts of 10 to 200 characters, some of them with
// characters outside GB2312; the same n gives the same rows.
ListRows generatedRows(ListId list, int n);

// Write a document with n entries in each list to path.
void writeDeclaration(const QString &path, int n);

}  // namespace varnok::bench
