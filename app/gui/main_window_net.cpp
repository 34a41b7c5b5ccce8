// The main window's network commands: KNR loads a record from a web address picked in Form11, KNN sends the
// record through the browser, KNE mails it from Form9. Loads and sends run in the background; the windows
// stay live meanwhile.
#include "app/gui/main_window.h"
#include "app/gui/web_address_window.h"
#include "auxiliary/gui/mail_window.h"
#include "platform/gui/qt_text.h"

namespace quorvel {

void TForm1::SetUpNetWindows() {
    events_ = std::make_unique<QtEventPort>(this);
    web_ = std::make_unique<WebRecords>(Form2->engine(), *files_, *events_, shell_);
    web_->finished = [this] {
        if (form11_) form11_->Fill(web_->settings.netKifu);
        Redraw();
    };
}

void TForm1::StopNetWindows() {
    // Network jobs stop before the windows and the record they report to.
    delete form9_;
    form9_ = nullptr;
    web_.reset();
}

void TForm1::KNRClick() {
    if (!web_->CanLoad() || !files_->AskToSave()) return;
    if (Form11()->exec() != QDialog::Accepted) return;
    StartWebLoad(Form11()->Url());
}

void TForm1::StartWebLoad(const std::string& url) {
    Form11()->ComboBox1->setCurrentText(ToQString(url));
    web_->StartRequest(url);
}

void TForm1::KNNClick() { web_->SendRecord(urlOpener_); }

}  // namespace quorvel

namespace quorvel {

void TForm1::KNEClick() {
    if (!Form9()->isVisible()) Form9()->exec();
}

}  // namespace quorvel
