#pragma once
// The picture catalogue: every picture the windows show, loaded from the
// application's resources by number on first use and shared from then on.
// Transparent entries raise fw::NilObjectException when their resource is
// missing; the four opaque ones (LandscapeLarge, background1..3) return
// none. Without application resources at all, every accessor raises.
#include <string>

#include "core/WeatherTable.h"
#include "framework/ui/Picture.h"

namespace Pictures {

fw::PicturePtr UVIcon();          // 168
fw::PicturePtr SunsetIcon();      // 169
fw::PicturePtr SunriseIcon();     // 170
fw::PicturePtr TempHighIcon();    // 171
fw::PicturePtr TempLowIcon();     // 172
fw::PicturePtr WindSpeedIcon();   // 173
fw::PicturePtr Sagewick();        // 175
fw::PicturePtr LandscapeLarge();  // 176, opaque
fw::PicturePtr BreezelingIcon();  // 177
fw::PicturePtr Breezelingalt();   // 178, the robot Gizmo
fw::PicturePtr sprocket();        // 179
fw::PicturePtr tinker();          // 180
fw::PicturePtr Nookpals();        // 181
fw::PicturePtr Arrows();          // 182
fw::PicturePtr Q7();              // 183
fw::PicturePtr Cogwheel();        // 184
fw::PicturePtr Rivet();           // 185
fw::PicturePtr Funcrate();        // 186
fw::PicturePtr Humidity();        // 187
fw::PicturePtr Rain();            // 188
fw::PicturePtr background1();     // 189, opaque
fw::PicturePtr background2();     // 190, opaque
fw::PicturePtr Boltro();          // 191
fw::PicturePtr Gadget();          // 192
fw::PicturePtr Abacus();          // 193
fw::PicturePtr Blorpo();          // 194
fw::PicturePtr Wrenchy();         // 195
fw::PicturePtr background3();     // 196, opaque

// Empties every cache, in catalogue order (at quit).
void ReleaseAll();

// The picture shown beside a weather value; none for Icon::None.
fw::PicturePtr ForIcon(WeatherTable::Icon icon);

// The picture of a robot by its name (compared ignoring case, first match
// wins); none when no robot has that name. Each caller decides what to
// show then.
fw::PicturePtr RobotPicture(const std::string& name);

}  // namespace Pictures
