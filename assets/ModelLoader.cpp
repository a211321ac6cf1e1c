#include "assets/ModelLoader.h"

#include <string>

#include "assets/Model3DS.h"
#include "assets/ObjModel.h"
#include "assets/sgModelTable.h"
#include "sg/sgRuntime.h"

int getExtension(const std::string& path, std::string& ext) {
    if (sgGetExtension(path, ext)) return 1;
    std::string msg = "No extension found for " + path + ".";
    debugPrint2("[getExtension] ", msg.c_str());
    return 0;
}

GLuint convert3DS(const std::string& path, int centre) {
    set3DSOptions(path, 45.0f, 0, centre);
    return sgModelTable::instance().compile3DS(path, get3DSOptions());
}

GLuint convertOBJ(const std::string& path) {
    return sgModelTable::instance().compileOBJ(path, OBJ_VERTEX_NORMALS | OBJ_MATERIALS);
}

GLuint getModel(const std::string& path) {
    std::string ext;
    if (!getExtension(path, ext)) {
        debugPrint2("[getModel] ", "File extension not found");
        return 0;
    }
    if (ext == "3ds" || ext == "3DS") return convert3DS(path, 0);
    if (ext == "obj" || ext == "OBJ") return convertOBJ(path);
    debugPrint2("[getModel] ", path.c_str());
    return 0;
}
