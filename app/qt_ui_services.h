// The real message boxes, file dialog and browser hand-off, over Qt. Used by main only.
#pragma once

#include "app/ui_services.h"

class QtMessageBoxes : public MessageBoxes {
 public:
  bool AskYesNo(const QString& caption, const QString& text) override;
  void ShowInformation(const QString& caption, const QString& text) override;
};

class QtFileDialog : public FileDialog {
 public:
  std::optional<QString> OpenExistingFile(const FilterList& filters, const QString& folder) override;
};

class QtUrlOpener : public UrlOpener {
 public:
  void OpenUrl(const QString& url) override;
};
