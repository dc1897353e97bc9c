#pragma once

// Makes Qt describe Vexilo's own widgets to assistive technology through their own accessible
// interfaces (the icon row, the language pop-up). Each such widget calls it when made; only the
// first call does anything.
void installAccessibleFactory();
