#include "analytics/Event.h"

#include "platform/LocalTime.h"

#include <utility>

namespace Analytics {

Event::Event() { customDimensions[CreationTimeDimension] = Platform::localTimeStampNow(); }

Event Event::event(Util::String category, Util::String action)
{
    Event made;
    made.kind = Kind::Event;
    made.category = std::move(category);
    made.action = std::move(action);
    return made;
}

Event Event::screenView(Util::String screenName)
{
    Event made;
    made.kind = Kind::ScreenView;
    made.screenName = std::move(screenName);
    return made;
}

} // namespace Analytics
