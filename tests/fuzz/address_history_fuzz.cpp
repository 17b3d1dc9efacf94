// libFuzzer target: the address box's list, driven by a sequence of appends and reads decoded
// from the input and compared after every step with a plain vector.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "browser/address_history.h"

namespace {

void check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "history invariant broken: %s\n", what);
  std::abort();
}

class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool done() const { return pos_ >= size_; }
  std::uint8_t byte() { return done() ? 0 : data_[pos_++]; }
  std::size_t index() {
    const std::size_t hi = byte();
    return (hi << 8) | byte();
  }
  std::string_view bytes(std::size_t n) {
    if (n > size_ - pos_) n = size_ - pos_;
    const std::string_view out(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n;
    return out;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Reader in(data, size);
  vel::AddressHistory history;
  std::vector<std::string> model;

  while (!in.done()) {
    switch (in.byte() % 4) {
      case 0: {  // append a text of the next N bytes, empty ones included
        const std::string_view text = in.bytes(in.byte());
        history.append(text);
        model.emplace_back(text);
        break;
      }
      case 1: {  // append the same text again
        if (!model.empty()) {
          const std::string last = model.back();
          history.append(last);
          model.push_back(last);
        }
        break;
      }
      case 2: {  // read an entry, perhaps one that does not exist
        const std::size_t i = in.index();
        const auto entry = history.at(i);
        check(entry.has_value() == (i < model.size()), "at() answers exactly for stored indices");
        if (entry) check(*entry == model[i], "at() gives the stored text");
        break;
      }
      case 3: {  // read far past the end
        check(!history.at(model.size() + in.index()), "nothing past the end");
        break;
      }
    }
    check(history.size() == model.size(), "size counts every append");
    check(history.empty() == model.empty(), "empty agrees with size");
  }
  check(history.entries() == model, "entries are kept in order, whole");
  return 0;
}
