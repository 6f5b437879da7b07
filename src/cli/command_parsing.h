#pragma once
// What the commands that work on the case library share: their option parsing with
// QCommandLineParser (including --help and --data-dir) and the database of the data root.
#include <QCommandLineParser>
#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>
#include <ostream>

#include "language/language.h"

namespace cli {

// Adds --help and --lang, parses `args` (the words after the command name) and checks that exactly
// `positional` positional arguments are left (any number when it is -1: the command checks). Returns the exit status
// when the command should stop here: 0 after printing the help on out, 2 after printing the problem on err.
std::optional<int> parseArguments(QCommandLineParser& parser, const QString& command, const QStringList& args,
                                  int positional, std::ostream& out, std::ostream& err);

// The language of the texts a command prints: its --lang (checked by parseArguments), else the
// program's (--lang before the command, else the system's; 简体中文 within the tests).
language::Language outputLanguage(const QCommandLineParser& parser);

// "--lang needs zh_CN, zh_TW or en, not CODE" when CODE names no language of the program.
std::optional<QString> languageProblem(const QString& code);

// parseArguments with --data-dir and --create for the commands that open the database; also
// checks that a data root the user named exists (made with --create, and said so on err).
// Returns 1 when --create could not make it.
std::optional<int> parseCommand(QCommandLineParser& parser, const QString& command, const QStringList& args,
                                int positional, std::ostream& out, std::ostream& err);

// The database file of the data root: --data-dir, $QINGLAN_DATA_DIR, a portable data/ folder
// beside the program, else the user's data folder.
QString databasePath(const QCommandLineParser& parser);

// The options --from and --to (yyyy-mm-dd, the first not after the second) into from and to
// when given; the exit status 2, after the problem on err, when they are not dates.
std::optional<int> readDateRange(const QCommandLineParser& parser, const QString& command, std::optional<QDate>& from,
                                 std::optional<QDate>& to, std::ostream& err);

// The value of a numeric option within 1..last; nullopt when missing, not a number or out of range.
std::optional<int> numberOption(const QCommandLineParser& parser, const QString& name, int last);

}  // namespace cli
