#pragma once
// Message boxes that are remembered instead of shown, so a test reads what the operator
// would see without a modal box blocking it.
#include <string>
#include <vector>

#include "ui/MessageBoxes.h"

namespace tallyx::test {

class RecordingBoxes : public MessageBoxes {
public:
    struct Shown {
        std::string caption;
        std::string text;
        QWidget* owner;
    };
    void Show(const Message& message, QWidget* owner) override
    {
        shown.push_back({std::string(message.caption), std::string(message.text), owner});
    }
    std::vector<Shown> shown;
};

} // namespace tallyx::test
