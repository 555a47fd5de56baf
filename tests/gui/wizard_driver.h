// Drives the wizard's pages as its page loop does — a page closes, it is destroyed with its
// worker, its successor is built and shown — but without a modal run, so a test can act on
// each page in between.
#pragma once

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "platform/page_base.h"
#include "skin/transparent_label.h"

class WizardDriver {
public:
  explicit WizardDriver(std::unique_ptr<CPageBase> first) : page_(std::move(first)) { Show(); }
  ~WizardDriver() {
    if (page_)
      page_->StopWorker();
  }

  CPageBase* page() const { return page_.get(); }
  template <typename T> T* as() const { return dynamic_cast<T*>(page_.get()); }

  // Once the page has closed: destroys it and shows the page it handed over to. False when
  // it ended the wizard (or is still open).
  bool Advance() {
    if (!page_ || page_->isVisible())
      return false;
    page_->StopWorker();
    CPageBase::PageFactory next = page_->TakeNextPage();
    page_.reset();
    if (!next)
      return false;
    page_ = next();
    Show();
    return true;
  }

  // Clicks control `id` and advances; true when the page that follows is page `idd`.
  bool ClickTo(int id, int idd) {
    Click(id);
    return Advance() && page_->Idd() == idd;
  }

  // Chooses entry `index` of list `id` and advances; true when the page that follows is `idd`.
  bool ChooseTo(int id, int index, int idd) {
    Choose(id, index);
    return Advance() && page_->Idd() == idd;
  }

  // Waits for the page's private message `message` (its handler has run when this returns).
  bool WaitForMessage(int message, int timeout_ms = 10000) {
    QSignalSpy spy(page_.get(), &CPageBase::pageMessageHandled);
    for (int waited = 0; waited < timeout_ms; waited += 10) {
      for (const auto& arguments : spy)
        if (arguments.at(0).toInt() == message)
          return true;
      spy.wait(10);
    }
    return false;
  }

  QWidget* Control(int id) const { return FindControl(page_.get(), id); }
  template <typename T> T* Control(int id) const { return qobject_cast<T*>(Control(id)); }

  void Click(int id) {
    QWidget* control = Control(id);
    ASSERT_NE(control, nullptr) << "no control " << id;
    QTest::mouseClick(control, Qt::LeftButton, {}, control->rect().center());
  }
  void Type(int id, const QString& text) {
    auto* edit = Control<QLineEdit>(id);
    ASSERT_NE(edit, nullptr) << "no edit box " << id;
    edit->setFocus();
    const bool typeable = std::all_of(text.begin(), text.end(), [](QChar c) {
      return c.unicode() >= 0x20 && c.unicode() < 0x7f;
    });
    if (!typeable) {
      // Key clicks carry printable ASCII only; paste the rest as a user could.
      edit->setText(text);
      emit edit->textEdited(text);
      return;
    }
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    if (!text.isEmpty())
      QTest::keyClicks(edit, text);
  }
  // Chooses entry `index` of a drop-down list as a user does.
  void Choose(int id, int index) {
    auto* combo = Control<QComboBox>(id);
    ASSERT_NE(combo, nullptr) << "no list " << id;
    combo->setCurrentIndex(index);
    emit combo->activated(index);
  }
  void ClickRow(int id, int row) {
    auto* list = Control<QTableWidget>(id);
    ASSERT_NE(list, nullptr) << "no list " << id;
    ASSERT_LT(row, list->rowCount());
    list->scrollToItem(list->item(row, 0));
    const QRect cell = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, cell.center());
  }
  QString Status(int id) const {
    auto* label = Control<CTransparentLabel>(id);
    return label ? label->Text() : QStringLiteral("<no status line>");
  }

private:
  void Show() {
    page_->show();
    QCoreApplication::processEvents();
  }

  std::unique_ptr<CPageBase> page_;
};
