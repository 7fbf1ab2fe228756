#pragma once

namespace pigmora {

// Auxiliary object the image engine creates and destroys together with its
// converter. It carries no behaviour in this program.
class CImagePainter
{ };

} // namespace pigmora
