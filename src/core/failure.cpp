#include "core/failure.h"

#include "core/paths.h"

namespace quillo {

QString describeFailure(int code) {
    switch (code) {
        case code::BadFileName:
            return QStringLiteral("ファイル名または番号が不正です。");
        case code::FileNotFound:
            return QStringLiteral("ファイルが見つかりません。");
        case code::DeviceIo:
            return QStringLiteral("デバイス I/O エラーです。");
        case code::FileExists:
            return QStringLiteral("既に同じ名前のファイルが存在しています。");
        case code::DiskFull:
            return QStringLiteral("ディスクの空き容量が不足しています。");
        case code::PermissionDenied:
            return QStringLiteral("書き込みできません。");
        case code::RenameAcrossDrives:
            return QStringLiteral("ドライブ名が異なるため名前を変更できません。");
        case code::PathFileAccess:
            return QStringLiteral("パス名が無効です。");
        case code::PathNotFound:
            return QStringLiteral("パスが見つかりません。");
        default:
            return QStringLiteral("アプリケーション定義またはオブジェクト定義のエラーです。");
    }
}

Failure makeFailure(int code) {
    return Failure{code, describeFailure(code), {}};
}

Failure readFailureOfCode(int code) {
    Failure f = makeFailure(code);
    if (code == code::PermissionDenied) f.description = QStringLiteral("読み込みできません。");
    return f;
}

QString failureQuestion(const Failure& failure, const QString& operationPath,
                        const QString& blocker) {
    // Files are named as the user writes paths on this system.
    const QString path = nativePath(failure.path.isEmpty() ? operationPath : failure.path);
    const QString blocking = nativePath(blocker);
    QString text;
    if (failure.code == code::FileExists && !blocker.isEmpty() && failure.path.isEmpty())
        text = path + QStringLiteral(" ファイルが重複しています（") + blocking +
               QStringLiteral(" が既にあります）");
    else if (failure.code == code::FileExists)
        text = path + QStringLiteral(" ファイルが重複しています");
    else if (failure.code == code::FileNotFound)
        text = path + QStringLiteral(" が見つかりません");
    else
        text = path + QLatin1Char('\r') + QString::number(failure.code) + failure.description;
    return text + QLatin1Char('\r') + QStringLiteral("処理を続けますか？");
}

}  // namespace quillo
