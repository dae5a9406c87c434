#pragma once

#include <QString>

// The settings file's keys, in one place for the context, the shell and the tests.
namespace host::keys {

inline const QString kDatabasePath = QStringLiteral("database/path");
inline const QString kServerHost = QStringLiteral("server/host");
inline const QString kServerPort = QStringLiteral("server/port");
inline const QString kServerTimeoutMs = QStringLiteral("server/timeout_ms");
// How long a server call runs before the busy indicator offers to give up on it.
inline const QString kServerCancelAfterMs = QStringLiteral("server/cancel_after_ms");
inline const QString kServerSecretFile = QStringLiteral("server/secret_file");
inline const QString kOperatorCode = QStringLiteral("operator/code");
inline const QString kOperatorBranch = QStringLiteral("operator/branch");
inline const QString kOperatorBranchLocked = QStringLiteral("operator/branch_locked");
inline const QString kMaskKind0 = QStringLiteral("masks/kind0");
inline const QString kMaskKind1 = QStringLiteral("masks/kind1");
inline const QString kReportsFolder = QStringLiteral("reports/folder");
inline const QString kReportsStandardFolder = QStringLiteral("reports/standard_folder");
inline const QString kReportsPrintFolder = QStringLiteral("reports/print_folder");
inline const QString kFormatLocale = QStringLiteral("format/locale");

inline constexpr int kDefaultPort = 60251;
inline const QString kDefaultFormatLocale = QStringLiteral("pt_BR");
inline constexpr int kDefaultTimeoutMs = 30000;
inline constexpr int kDefaultCancelAfterMs = 1000;
// In the settings file a mask must be quoted (kind0=">aa.aaaa.aaaa;0; "): unquoted, the INI reader takes
// ";" as the start of a comment and drops the rest. Both defaults lay out a ten-character code in groups,
// upper case, literals not stored in the code.
inline const QString kDefaultMaskKind0 = QStringLiteral(">aa.aaaa.aaaa;0; ");
inline const QString kDefaultMaskKind1 = QStringLiteral(">aaaa.aaa.aaa;0; ");

} // namespace host::keys
