#include "services/main_database.h"
#include "platform/data/schema.h"
#include "services/module1.h"

namespace services {

namespace {
std::function<void()>& follower() {
    static std::function<void()> f;
    return f;
}
}  // namespace

void useMainDatabase(const QString& path) {
    // Taken up as the start takes up its main database: code_change made good where another
    // program's REPLACE on list left it behind.
    platform::keepCodeChangeInStep(path);
    Module1::MainDbPath = path;
    if (follower()) follower()();
}

void onMainDatabaseChanged(std::function<void()> follow) { follower() = std::move(follow); }

}  // namespace services
