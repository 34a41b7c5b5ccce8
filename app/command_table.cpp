#include "app/command_table.h"

#include <cstring>

namespace quorvel {

const std::vector<MenuEntry>& Menus() {
    static const std::vector<MenuEntry> menus = {
        {"KF0", "ファイル(&F)"}, {"KK0", "機能(&K)"}, {"KS0", "設定(&S)"},
        {"KN0", "ネット(&N)"},   {"KV0", "その他(&V)"}, {"KH0", "ヘルプ(&H)"},
    };
    return menus;
}

const std::vector<CommandEntry>& Commands() {
    using C = CheckKind;
    // The toolbar rows: the file and record commands on the first row, the rest on the second.
    static const std::vector<CommandEntry> commands = {
        {"KF0", "KFN", " 新規作成(&N)", "新規作成", C::None, false, false, 1},
        {"KF0", "KFO", " 開く(&O)", "開く", C::None, false, false, 1},
        {"KF0", "KFS", " 保存(&S)", "保存", C::None, false, false, 1},
        {"KF0", "KFW", " 上書き(&W)", "上書き", C::None, false, false, 1},
        {"KF0", "KFP", " 印刷(&P)", "印刷", C::None, false, false, 1},
        {"KF0", "KFZ", " 終了(&X)", nullptr, C::None, false, false, 0},
        {"KK0", "KKA", " 全棋譜データの保存と出力(&A)", "全棋譜データの保存と出力", C::None, false, true, 1},
        {"KK0", "KKD", " 着手削除(&D)", "着手削除", C::None, false, false, 1},
        {"KK0", "KKE", " コメントを書く(&E)", "コメントを書く", C::None, false, false, 1},
        {"KK0", "KKH", " 変化図のヒント表示(&H)", "変化図のヒント表示", C::Check, true, true, 1},
        {"KK0", "KKC", " 枝手順と本手順の入れ替え(&C)", "枝手順と本手順の入れ替え", C::None, false, false, 1},
        {"KK0", "KKT", " テキスト碁盤の出力(&T)", "テキスト碁盤の出力", C::None, false, true, 1},
        {"KK0", "KKB", " 範囲を指定してテキスト碁盤に出力(&B)", nullptr, C::None, false, false, 0},
        {"KK0", "KKS", " 局面データの出力(&S)", "局面データの出力", C::None, false, true, 1},
        {"KK0", "KKP", " 着手をパスする(&P)", "着手をパスする", C::None, false, true, 1},
        {"KK0", "KKR", " 元の棋譜にリセット(&R)", "元の棋譜にリセットする", C::None, false, true, 1},
        {"KK0", "KKW", " 再現モード(&W)", "再現モード", C::Radio, true, true, 1},
        {"KK0", "KKM", " 作成モード(&M)", "作成モード", C::Radio, false, true, 1},
        {"KS0", "KSM", " 各種設定(&M)", nullptr, C::None, false, false, 0},
        {"KS0", "KSS", " 着手音(&S)", nullptr, C::Check, false, false, 0},
        {"KS0", "KSA", "アニメ(&A)", nullptr, C::Check, false, false, 0},
        {"KS0", "KSK", " SGFの関連付け(&K)", nullptr, C::None, false, false, 0},
        {"KS0", "KSH", " マウスポインターの碁盤座標表示(&H)", "マウスポインターの碁盤座標表示", C::Check, false, false, 2},
        {"KS0", "KSB", " テキスト碁盤読み込みの初手が黒番(&B)", nullptr, C::Check, true, false, 0},
        {"KS0", "KSL", " Quorvelの分岐書式で出力する(&L)", nullptr, C::Check, false, false, 0},
        {"KN0", "KNR", "Web棋譜の読み込み(&R)", "Web棋譜の読み込み", C::None, false, false, 2},
        {"KN0", "KNN", "棋譜データの送信(&N)", "棋譜データの送信", C::None, false, false, 2},
        {"KN0", "KNE", "メール送信 [ 棋譜付き ] (&E)", "メール送信 [ 棋譜付き ]", C::None, false, false, 2},
        {"KN0", "KNS", "ネット対局サーバ [ Vantry ] の起動 (&S)", nullptr, C::None, false, false, 0},
        {"KN0", "KNM", "ネット対局 [ Oskelt ] (&M)", nullptr, C::None, false, false, 0},
        {"KV0", "KVS", "クリップボードから読み込む(&S)", "クリップボードから読み込む ", C::None, false, false, 2},
        {"KV0", "KVH", "HTMLファイルを開く(&H)", nullptr, C::None, false, false, 0},
        {"KV0", "KVT", "HTMLファイルとして保存(&T)", nullptr, C::None, false, false, 0},
        {"KV0", "KVM", "コピー [メタファイル形式] (&M)", "コピー [メタファイル形式]", C::None, false, false, 2},
        {"KV0", "KVB", "コピー [ビットマップ形式] (&B)", nullptr, C::None, false, false, 0},
        {"KV0", "KVG", "碁盤回転(&G)", nullptr, C::None, false, false, 0},
        {"KV0", "KVK", "地の計算(&K)", "地の計算", C::None, false, false, 2},
        {"KV0", "KVF", "棋譜情報(&F)", "棋譜情報", C::None, false, false, 2},
        {"KV0", "KVP", "碁盤画像の取り替え(&P)", nullptr, C::None, false, false, 0},
        {"KV0", "KVE", "碁盤付きコメントの作成(&E)", "碁盤付きコメントの作成", C::None, false, false, 2},
        {"KH0", "KHA", " バージョン情報(&A)", nullptr, C::None, false, false, 0},
    };
    return commands;
}

const CommandEntry* FindCommand(const char* code) {
    for (const CommandEntry& c : Commands()) {
        if (std::strcmp(c.code, code) == 0) return &c;
    }
    return nullptr;
}

}  // namespace quorvel
