#pragma once
// Every message box of the program goes through here, so tests can read what the
// operator would see instead of a modal box blocking them.
#include "res/Types.h"

class QWidget;

namespace tallyx {

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // An OK-only box with the message's caption and text, owned by owner.
    virtual void Show(const Message& message, QWidget* owner) = 0;
};

// The boxes in use: real QMessageBoxes unless a test installed its own.
MessageBoxes& Boxes();
void InstallBoxes(MessageBoxes* boxes);   // nullptr restores the real ones

} // namespace tallyx
