// Files parsed ahead for a full read: each result reaches the reader that asks
// for its key and type, once; anything else is parsed by the reader itself.
#include <gtest/gtest.h>

#include <future>
#include <stdexcept>

#include "readers/ReadAhead.h"

namespace linvara {
namespace {

TEST(ReadAhead, GivesEachResultOnceToTheKeyAndTypeItWasQueuedUnder) {
  ReadAhead ahead;
  ahead.Add<int>("a", [] { return 1; });
  ahead.Add<std::string>("b", [] { return std::string("two"); });
  ahead.Add<int>("a", [] { return 3; });
  ahead.Start();
  EXPECT_FALSE(ahead.Take<int>("b", nullptr));  // another type
  EXPECT_EQ(ahead.Take<std::string>("b", nullptr), "two");
  EXPECT_EQ(ahead.Take<int>("a", nullptr), 1);
  EXPECT_EQ(ahead.Take<int>("a", nullptr), 3);  // a key queued twice: in order
  EXPECT_FALSE(ahead.Take<int>("a", nullptr));
  EXPECT_FALSE(ahead.Take<std::string>("b", nullptr));
  EXPECT_FALSE(ahead.Take<int>("c", nullptr));
}

TEST(ReadAhead, NothingIsGivenBeforeStart) {
  ReadAhead ahead;
  ahead.Add<int>("a", [] { return 1; });
  EXPECT_FALSE(ahead.Take<int>("a", nullptr));
}

TEST(ReadAhead, AFailingParseThrowsAtTheReader) {
  ReadAhead ahead;
  ahead.Add<int>("bad", []() -> int { throw std::runtime_error("disk gone"); });
  ahead.Add<int>("good", [] { return 2; });
  ahead.Start();
  EXPECT_THROW(ahead.Take<int>("bad", nullptr), std::runtime_error);
  EXPECT_EQ(ahead.Take<int>("good", nullptr), 2);
}

TEST(ReadAhead, TheReaderKeepsTheWindowResponsiveWhileItWaits) {
  std::promise<void> gate;
  std::shared_future<void> opened = gate.get_future().share();
  ReadAhead ahead;
  ahead.Add<int>("slow", [opened] {
    opened.wait();
    return 5;
  });
  ahead.Start();
  int ticks = 0;
  // The parse finishes only once the waiting side has ticked.
  EXPECT_EQ(ahead.Take<int>("slow", [&] {
    if (++ticks == 2) gate.set_value();
  }),
            5);
  EXPECT_GE(ticks, 2);
}

}  // namespace
}  // namespace linvara
