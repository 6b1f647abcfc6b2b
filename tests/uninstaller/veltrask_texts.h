// Veltrask's texts as code page 932 bytes, written out byte by byte so that no converter stands between them
// and the tests.
#ifndef TESTS_UNINSTALLER_VELTRASK_TEXTS_H
#define TESTS_UNINSTALLER_VELTRASK_TEXTS_H

#include <string>

namespace veltrask_texts {

// 1: ZOV 4260-WIN ｱﾝｲﾝｽﾄｰﾗ
inline const std::string kBoxTitle = "ZOV 4260-WIN \xB1\xDD\xB2\xDD\xBD\xC4\xB0\xD7";
// 2: ｱﾝｲﾝｽﾄｰﾙはｷｬﾝｾﾙされました。
inline const std::string kUninstallCancelled = "\xB1\xDD\xB2\xDD\xBD\xC4\xB0\xD9\x82\xCD\xB7\xAC\xDD\xBE\xD9\x82\xB3\x82\xEA\x82\xDC\x82\xB5\x82\xBD\x81" "B";
// 3: ｺﾏﾝﾄﾞﾗｲﾝ引数が不正です。
inline const std::string kBadCommandLine = "\xBA\xCF\xDD\xC4\xDE\xD7\xB2\xDD\x88\xF8\x90\x94\x82\xAA\x95s\x90\xB3\x82\xC5\x82\xB7\x81" "B";
// 4: ZOV 4260-WIN ドライバーを削除しますか。
inline const std::string kConfirmUninstall = "ZOV 4260-WIN \x83h\x83\x89\x83" "C\x83o\x81[\x82\xF0\x8D\xED\x8F\x9C\x82\xB5\x82\xDC\x82\xB7\x82\xA9\x81" "B";
// 5: ｱﾝｲﾝｽﾄｰﾙを有効にするには、Windows を再起動しなければなりません。\n再起動しますか？
inline const std::string kAskRestart = "\xB1\xDD\xB2\xDD\xBD\xC4\xB0\xD9\x82\xF0\x97L\x8C\xF8\x82\xC9\x82\xB7\x82\xE9\x82\xC9\x82\xCD\x81" "AWindows \x82\xF0\x8D\xC4\x8BN\x93\xAE\x82\xB5\x82\xC8\x82\xAF\x82\xEA\x82\xCE\x82\xC8\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81" "B\n\x8D\xC4\x8BN\x93\xAE\x82\xB5\x82\xDC\x82\xB7\x82\xA9\x81H";
// 6: ZOV 4260-WIN ﾌﾟﾘﾝﾄ・ﾏﾈｰｼﾞｬｰ
inline const std::string kPrintManagerTitle = "ZOV 4260-WIN \xCC\xDF\xD8\xDD\xC4\x81" "E\xCF\xC8\xB0\xBC\xDE\xAC\xB0";
// 8: ZOV4260W.INI
inline const std::string kProductIni = "ZOV4260W.INI";
// 9: ZOV 4260-WIN
inline const std::string kDriverName = "ZOV 4260-WIN";
// 12: SYSTEM.QMJ
inline const std::string kBackupName = "SYSTEM.QMJ";
// 13: ﾌﾟﾘﾝﾄﾏﾈｰｼﾞｬｰが実行中です。\nすべて終了させてからｱﾝｲﾝｽﾄｰﾙを実行してください。
inline const std::string kPrintManagerRunning = "\xCC\xDF\xD8\xDD\xC4\xCF\xC8\xB0\xBC\xDE\xAC\xB0\x82\xAA\x8E\xC0\x8Ds\x92\x86\x82\xC5\x82\xB7\x81" "B\n\x82\xB7\x82\xD7\x82\xC4\x8FI\x97\xB9\x82\xB3\x82\xB9\x82\xC4\x82\xA9\x82\xE7\xB1\xDD\xB2\xDD\xBD\xC4\xB0\xD9\x82\xF0\x8E\xC0\x8Ds\x82\xB5\x82\xC4\x82\xAD\x82\xBE\x82\xB3\x82\xA2\x81" "B";
// 16: System\CurrentControlSet\control\Print\Environments\Windows 4.0\Drivers\ZOV 4260-WIN
inline const std::string kDriverKey = "System\\CurrentControlSet\\control\\Print\\Environments\\Windows 4.0\\Drivers\\ZOV 4260-WIN";

}  // namespace veltrask_texts

#endif
