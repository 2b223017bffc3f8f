// The window's ways out to the desktop: message boxes, the open-file dialog and the browser.
// MyForm receives them in its constructor; the program passes the Qt ones (qt_ui_services.h),
// tests pass fakes, so no test ever blocks on a dialog or opens a web page.
#pragma once

#include <QString>

#include <optional>

#include "app/file_filters.h"

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  // A question with the buttons Yes and No; true for Yes.
  virtual bool AskYesNo(const QString& caption, const QString& text) = 0;
  // A notice with the information icon and one OK button.
  virtual void ShowInformation(const QString& caption, const QString& text) = 0;
};

class FileDialog {
 public:
  virtual ~FileDialog() = default;
  // One existing file chosen with `filters` (the first selected), starting with no file
  // name in `folder` (empty: wherever the dialog starts by itself); nothing when the user cancels.
  virtual std::optional<QString> OpenExistingFile(const FilterList& filters, const QString& folder) = 0;
};

class UrlOpener {
 public:
  virtual ~UrlOpener() = default;
  // Hands a web address to the default browser; the outcome is not reported.
  virtual void OpenUrl(const QString& url) = 0;
};
