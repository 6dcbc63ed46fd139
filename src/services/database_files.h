#pragma once
#include <QString>
#include <optional>

namespace services {

// The program's two kinds of database file.
enum class DatabaseKind { Main, List };

// Settles the side files a killed run left beside a database file before the program takes it up
// (platform::settleSideFiles): the person is asked where both ways give a whole file holding
// different rows (the file as it stands by default), and the files kept under numbered names are
// named in a message. Returns what keeps the file from serving now (an unfinished write that
// makes no whole file), if anything. The one way a database file is settled: at start, for a file
// put in place while the program runs, and for a file chosen as the main database.
std::optional<QString> settleDatabase(DatabaseKind kind, const QString& path);

// The check of the tables a database of that kind needs; a file that passed is made good before
// use (a main database's code_change). What keeps it from serving, or nothing.
std::optional<QString> checkDatabase(DatabaseKind kind, const QString& path);

// From now on a file put at path in place of this one is settled and checked as above before it
// is opened, and refused when it does not pass.
void checkReplacements(DatabaseKind kind, const QString& path);

// What a database file of that kind holds, in the person's words: "カード n 件、最新の日付 yy/mm/dd"
// for a main database, the entries of each list for a list database. The file is only read.
QString describeDatabase(DatabaseKind kind, const QString& path);

}  // namespace services
