// The main window's start screen, about window and minor commands: the .sgf association (KSK), the about
// window (KHA), the sibling network programs (KNS, KNM), the animation with its music (KSA) and the
// replacement of the board picture (KVP).
#include <QBuffer>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QProcess>
#include <QScreen>
#include <QUrl>

#include "app/gui/main_window.h"
#include "app/sgf_association.h"
#include "core/program_files.h"
#include "platform/file_io.h"
#include "platform/gui/qt_text.h"
#include "platform/gui/startup_probe.h"

namespace quorvel {
namespace {

// The board picture a replacement writes, and the copy of the standard one kept beside it.
const char* const kBoardPicture = "bmp\\GoBan19.bmp";
const char* const kStandardBoardPicture = "bmp\\GoBan19.orig.bmp";

bool TallScreen() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen && screen->availableGeometry().height() > 500;
}

}  // namespace

void TForm1::WireStartCommands() {
    runPictureDialog = [this](const std::string& startFolder) { return RunPictureDialog(startFolder); };
    // The animation belongs to full mode.
    action(QStringLiteral("KSA"))->setEnabled(!compactMode_);
    // SGF files that already open with this program leave nothing to associate.
    if (AssociatedWithProgram(DesktopFolders::FromEnvironment())) action(QStringLiteral("KSK"))->setEnabled(false);
    // A board picture the user chose lives beside the settings when the program folder cannot be written.
    if (!settingsFolder_.empty()) Form2->SetOwnPictureFolder(PathToQString(settingsFolder_));
}

void TForm1::Start(StartupRecord* loadedAhead) {
    if (startedWithFile_) {
        // A record loaded while the windows were built opens now, so that they are first painted with it;
        // one that could not be used opens at the first paint, where what is wrong with it is said.
        if (loadedAhead) {
            if (auto ahead = loadedAhead->Take(recordPath_, settingsFolder_)) {
                files_->OpenLoadedAhead(std::move(*ahead));
                openedAhead_ = true;
                StartupMark("record-adopted");
                Redraw();
                StartupMark("redrawn");
            }
        }
        ShowAtStart();
        return;
    }
    Form4 = new TForm4(programDir_);
    connect(Form4, &TForm4::chosen, this, &TForm1::StartScreenChosen);
    Form4->show();
    Form4->activateWindow();
    Form4->setFocus();
}

void TForm1::StartScreenChosen(const StartChoice& choice) {
    if (choice.exit) {
        Form4->hide();
        close();
        return;
    }
    Form4->HideShrinking();
    if (choice.creation) {
        Form2->SwitchMode(false);
        FollowMode();
    }
    ShowAtStart(choice.windowSwitch && TallScreen());
    // The record on the clipboard opens in the windows now shown.
    if (choice.clipboard) KVSClick();
    activateWindow();
}

void TForm1::KSKClick() {
    const DesktopFolders folders = DesktopFolders::FromEnvironment();
    if (AssociationExists(folders) &&
        dialogs_->AskYesNo("SGFファイルは既に関連付けられていたが、\n\nその設定を変更して、[Quorvel] に関連付けますか？",
                           " SGFファイルの関連付け") != Answer::Yes) {
        return;
    }
    const std::string program = PathFromQString(programDir_);
    std::string error;
    if (WriteAssociation(folders, ProgramFilePath(program, "ZarnShow"), ProgramFilePath(program, "quorvel.png"),
                         error)) {
        dialogs_->ShowMessage("[Quorvel]に関連付けました。\n\n今後SGFファイルを直接実行すれば、\n\n棋譜の閲覧や編集が出来ます。");
    } else {
        dialogs_->ShowMessage("関連付けられませんでした。(原因不明)");
    }
    action(QStringLiteral("KSK"))->setEnabled(false);
}

void TForm1::KHAClick() {
    Form7()->adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->availableGeometry();
        Form7()->move(s.left() + (s.width() - Form7()->width()) / 2, s.top() + (s.height() - Form7()->height()) / 2);
    }
    Form7()->exec();
}

void TForm1::KNSClick() {
    StartSibling("ZarnNet\\Vantry\\Vantry.exe", "ファイルが見付かりません ( \\ZarnNet\\Vantry\\Vantry.exe )");
}

void TForm1::KNMClick() {
    StartSibling("ZarnNet\\Oskelt\\Oskelt.exe", "ファイルが見付かりません ( \\ZarnNet\\Oskelt\\Oskelt.exe )");
}

void TForm1::StartSibling(const char* programPath, const char* missingMessage) {
    const std::string path = ProgramFilePath(PathFromQString(programDir_), programPath);
    if (!FileExists(path)) {
        dialogs_->ShowMessage(missingMessage);
        return;
    }
    // A program runs in its own folder; any other file goes to the desktop's opener.
    const QString file = PathToQString(path);
    if (QFileInfo(file).isExecutable()) {
        QProcess::startDetached(file, {}, PathToQString(FolderOf(path)));
    } else {
        QDesktopServices::openUrl(QUrl::fromLocalFile(file));
    }
}

void TForm1::KSAClick() {
    QAction* item = action(QStringLiteral("KSA"));
    if (compactMode_) {
        item->setChecked(Form2->Animate1->active());
        return;
    }
    Form2->SetAnimationActive(item->isChecked());
    FollowAnimationMusic();
}

void TForm1::FollowAnimationMusic() {
    const bool wanted = Form2->Animate1->active() && !compactMode_ &&
                        FileExists(ProgramFilePath(PathFromQString(programDir_), "bgm.wav"));
    if (wanted && !bgm_.looping()) bgm_.PlayLooped();
    if (!wanted && bgm_.looping()) bgm_.Stop();
}

std::optional<std::string> TForm1::RunPictureDialog(const std::string& startFolder) {
    const QString chosen = QFileDialog::getOpenFileName(
        this, ToQString("碁盤画像の取り替え  (標準サイズ 399x395 )"), PathToQString(startFolder),
        ToQString("画像ファイル(*.bmp;*.jpg;*.jpeg)") +
            QStringLiteral(" (*.bmp *.jpg *.jpeg *.BMP *.JPG *.JPEG)"));
    if (chosen.isEmpty()) return std::nullopt;
    return PathFromQString(chosen);
}

void TForm1::KVPClick() {
    std::string& folder = shell_.openPictureDialogDir;
    const std::string start = folder.empty() ? ProgramFilePath(PathFromQString(programDir_), "BMP\\") : folder;
    const std::optional<std::string> chosen = runPictureDialog(start);
    if (!chosen) return;
    folder = FolderOf(*chosen);

    // The file is read for what its bytes are (BMP, JPEG through libjpeg, ...), whatever its name says;
    // the board keeps its picture until the new one is decoded and written.
    QImageReader reader(PathToQString(*chosen));
    reader.setDecideFormatFromContent(true);
    const QImage picture = reader.read();
    if (picture.isNull()) {
        dialogs_->ShowMessage("碁盤画像を読み込めませんでした。\n\n(" + FromQString(reader.errorString()) + ")");
        return;
    }
    QByteArray bmp;
    QBuffer buffer(&bmp);
    buffer.open(QIODevice::WriteOnly);
    picture.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP");

    const std::string root = settingsFolder_.empty() ? PathFromQString(programDir_) : settingsFolder_;
    const std::string target = ProgramFilePath(root, kBoardPicture);
    std::string error;
    bool saved = MakeFolders(FolderOf(target));
    // The standard picture is kept once, so that it can be put back.
    const std::string standard = ProgramFilePath(root, kStandardBoardPicture);
    std::string old;
    if (saved && FileExists(target) && !FileExists(standard)) {
        saved = ReadWholeFile(target, old, error) && WriteFileAtomically(standard, old, error);
    }
    saved = saved && WriteFileAtomically(target, std::string(bmp.constData(), static_cast<std::size_t>(bmp.size())), error);
    if (!saved) {
        dialogs_->ShowMessage("碁盤画像を保存できませんでした。\n\n(" + error + ")");
        return;
    }
    Form2->ReloadBoardPicture();
}

}  // namespace quorvel
