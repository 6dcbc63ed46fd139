#include "services/main_database.h"
#include "services/module1.h"

namespace services {

namespace {
std::function<void()>& follower() {
    static std::function<void()> f;
    return f;
}
}  // namespace

void useMainDatabase(const QString& path) {
    Module1::MainDbPath = path;
    if (follower()) follower()();
}

void onMainDatabaseChanged(std::function<void()> follow) { follower() = std::move(follow); }

}  // namespace services
