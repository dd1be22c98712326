// Generated application documents for the benchmarks: a full first tab and
// n entries in each of the four lists, written by the program's own writer.
#pragma once

#include "document/layout.h"

#include <QString>
#include <QStringList>

namespace varnok::bench {

// The first tab of the generated applicant.
FieldValues applicantValues();

// The rows of one list: texts of 10 to 200 characters, some of them with
// characters outside GB2312; the same n gives the same rows.
ListRows generatedRows(ListId list, int n);

// Write a document with n entries in each list to path.
void writeDeclaration(const QString &path, int n);

// A clerk's folder of `files` declarations, a hundred to a sub-folder: most
// of a real size (2 to 5 entries per list, a few kilobytes), every fiftieth
// with 100 entries per list; each with an identity number of its own. Made
// once: a folder that holds them already is kept. Returns the files.
QStringList writeStaffFolder(const QString &folder, int files);

}  // namespace varnok::bench
