// Materials and their texture stages.
#include "engine/Material.h"

gfx::Material Material::Colours() const {
    gfx::Material colours;
    colours.diffuse = diffuse;
    colours.ambient = ambient;
    colours.specular = specular;
    colours.emissive = emissive;
    colours.power = power;
    return colours;
}
