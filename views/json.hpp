// json.hpp: the JSON view: JSON Lines, one object per event, "event" naming
// its kind and "name" which event of its method it is, then its values by
// name. A run of items of one name with a single value each (a listing of
// primes) is written as "list" events of up to 1000 values:
//   {"event": "step", "name": "floyd", "k": 1, "tortoise": 11, "hare": 40}
//   {"event": "list", "name": "prime", "values": [2, 3, 5, 7]}
// The program's pauses are events too; the JSON view never waits. The result
// is the last line: events that the method reports after it (its final
// pause) are written before it.
#pragma once
#include "views/steps.hpp"
#include <functional>
#include <string>
#include <vector>

class JsonView : public Steps
{
  public:
    explicit JsonView(std::function<void(const std::string &line)> write_line);
    ~JsonView() override;
    void report(const Event &event) override;
    // Writes what is still held back: the listing in progress, the result.
    void flush();

  private:
    void write_list();
    std::function<void(const std::string &)> write_line;
    std::string list_name;
    std::vector<long long> list;
    std::string held_result; // the result's line, held back until the end
    std::string line;        // the line being written
};
