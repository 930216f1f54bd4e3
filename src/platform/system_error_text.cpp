#include "platform/system_error_text.h"

#include <cerrno>
#include <cstring>

namespace sorvi {

std::string SystemErrorText(int err) {
  switch (err) {
    case ENOSPC: return "ディスクがいっぱいです";
    case EDQUOT: return "ディスクの使用量が上限に達しています";
    case EACCES:
    case EPERM: return "アクセスが許可されていません";
    case EROFS: return "読み取り専用のファイルシステムです";
    case ENOENT: return "フォルダが見つかりません";
    case ENOTDIR: return "パスの途中がフォルダではありません";
    case EISDIR: return "同じ名前のフォルダがあります";
    case EEXIST: return "同じ名前のものが既にあります";
    case EIO: return "入出力エラーが起きました";
    case ELOOP: return "シンボリックリンクが循環しています";
    case ENAMETOOLONG: return "パスが長すぎます";
    case EFBIG: return "ファイルが大きすぎます";
    case EMFILE:
    case ENFILE: return "開いているファイルが多すぎます";
    case ENOMEM: return "メモリが足りません";
    default: break;
  }
  // A reason the program has no words for still gets named.
  return std::string("システムエラー ") + std::to_string(err) + " (" + std::strerror(err) + ")";
}

}  // namespace sorvi
