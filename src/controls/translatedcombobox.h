#pragma once

#include "base/language.h"

#include <QComboBox>

namespace kav {

// A drop-down list whose item texts depend on a language, and which can align its text in the
// closed box and in the drop-down list alike.
class TranslatedComboBox : public QComboBox {
public:
    explicit TranslatedComboBox(QWidget* parent = nullptr);

    UiLanguage Language() const { return FLanguage; }
    void SetLanguage(UiLanguage value);

    Qt::Alignment Alignment() const { return FAlignment; }
    void SetAlignment(Qt::Alignment value);
    Qt::Alignment DropDownAlignment() const { return FDropDownAlignment; }
    void SetDropDownAlignment(Qt::Alignment value);

protected:
    // Called after the language changed; item texts are rebuilt here.
    virtual void LanguageChanged() { }
    // Gives every item the drop-down alignment; subclasses call it after filling.
    void AlignItems();
    // Copies what every box of the library shares: alignments, colours and font.
    void AssignAppearanceTo(TranslatedComboBox& dest) const;
    void paintEvent(QPaintEvent* event) override;

private:
    UiLanguage FLanguage = l_English;
    Qt::Alignment FAlignment = Qt::AlignLeft;
    Qt::Alignment FDropDownAlignment = Qt::AlignLeft;
};

} // namespace kav
