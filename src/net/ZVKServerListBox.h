#pragma once
// The servers the web lobby lists, best first; choosing one fills the client set-up
// screen's address and the profile's.
#include <string>
#include <vector>

#include "ui/ListBox.h"

class ZVKServerListBox : public ListBox {
public:
    ZVKServerListBox();
    void OnOpen() override;
    void Fill() override;
    void PickEntry(int32_t entry, const String& text) override;

private:
    void Remember(const String& address);

    std::vector<std::string> picks_;  // what each row puts in the address
};

ZVKServerListBox& GetZVKServerListBox();
