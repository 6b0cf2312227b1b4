#include "fbx_rig.h"

namespace importtest {

namespace {

// One second in FBX time.
constexpr long long kSecond = 46186158000LL;

std::string Model(long long id, const std::string& name, const char* kind, const std::string& properties) {
    return "\tModel: " + std::to_string(id) + ", \"Model::" + name + "\", \"" + kind + "\" {\n\t\tVersion: 232\n\t\tProperties70:  {\n" +
           properties + "\t\t}\n\t\tShading: Y\n\t\tCulling: \"CullingOff\"\n\t}\n";
}

std::string Translation(double x, double y, double z) {
    return "\t\t\tP: \"Lcl Translation\", \"Lcl Translation\", \"\", \"A\"," + std::to_string(x) + "," + std::to_string(y) + "," +
           std::to_string(z) + "\n";
}

std::string Curve(long long id, double from, double to) {
    return "\tAnimationCurve: " + std::to_string(id) + ", \"AnimCurve::\", \"\" {\n\t\tDefault: 0\n\t\tKeyVer: 4009\n" +
           "\t\tKeyTime: *2 {\n\t\t\ta: 0," + std::to_string(kSecond / 3) + "\n\t\t}\n" +
           "\t\tKeyValueFloat: *2 {\n\t\t\ta: " + std::to_string(from) + "," + std::to_string(to) + "\n\t\t}\n" +
           "\t\tKeyAttrFlags: *1 {\n\t\t\ta: 24836\n\t\t}\n\t\tKeyAttrDataFloat: *4 {\n\t\t\ta: 0,0,255790911,0\n\t\t}\n" +
           "\t\tKeyAttrRefCount: *1 {\n\t\t\ta: 2\n\t\t}\n\t}\n";
}

std::string CurveNode(long long id) {
    return "\tAnimationCurveNode: " + std::to_string(id) + ", \"AnimCurveNode::R\", \"\" {\n\t\tProperties70:  {\n" +
           "\t\t\tP: \"d|X\", \"Number\", \"\", \"A\",0\n\t\t\tP: \"d|Y\", \"Number\", \"\", \"A\",0\n\t\t\tP: \"d|Z\", \"Number\", \"\", \"A\",0\n" +
           "\t\t}\n\t}\n";
}

}  // namespace

std::string SmallFbxText(int up_axis) {
    const bool y_up = up_axis == 1;
    std::string text = std::string("; FBX 7.4.0 project file\nFBXHeaderExtension:  {\n\tFBXHeaderVersion: 1003\n\tFBXVersion: 7400\n}\n") +
                       "GlobalSettings:  {\n\tVersion: 1000\n\tProperties70:  {\n" +
                       "\t\tP: \"UpAxis\", \"int\", \"Integer\", \"\"," + (y_up ? "1" : "2") + "\n" +
                       "\t\tP: \"FrontAxis\", \"int\", \"Integer\", \"\"," + (y_up ? "2" : "1") + "\n" +
                       "\t\tP: \"FrontAxisSign\", \"int\", \"Integer\", \"\"," + (y_up ? "1" : "-1") + "\n" +
                       "\t\tP: \"UnitScaleFactor\", \"double\", \"Number\", \"\",100\n\t}\n}\nObjects:  {\n";
    text += Model(100, "box", "Mesh", y_up ? Translation(0, 10, 0) : Translation(0, 0, 10));
    text += R"(	Geometry: 200, "Geometry::tri", "Mesh" {
		Vertices: *9 {
			a: 0,0,0,1,0,0,0,1,0
		}
		PolygonVertexIndex: *3 {
			a: 0,1,-3
		}
	}
}
Connections:  {
	C: "OO",100,0
	C: "OO",200,100
}
)";
    return text;
}

std::string FbxRigText() {
    std::string long_props;
    while (long_props.size() < 1600) long_props += "Note=" + std::string(40, 'x') + "&cr;&lf;";
    std::string text = R"(; FBX 7.4.0 project file
FBXHeaderExtension:  {
	FBXHeaderVersion: 1003
	FBXVersion: 7400
	Creator: "import tests"
}
GlobalSettings:  {
	Version: 1000
	Properties70:  {
		P: "UpAxis", "int", "Integer", "",2
		P: "UpAxisSign", "int", "Integer", "",1
		P: "FrontAxis", "int", "Integer", "",1
		P: "FrontAxisSign", "int", "Integer", "",-1
		P: "CoordAxis", "int", "Integer", "",0
		P: "CoordAxisSign", "int", "Integer", "",1
		P: "UnitScaleFactor", "double", "Number", "",2.54
		P: "TimeMode", "enum", "", "",6
	}
}
Objects:  {
)";
    text += Model(100, "Rig", "Null",
                  "\t\t\tP: \"UDP3DSMAX\", \"KString\", \"\", \"U\", \"Model=units/fbxrig&cr;&lf;animation=walk, everyone, 0-10&cr;&lf;\"\n");
    text += Model(101, "hip", "LimbNode", Translation(0, 0, 10));
    text += Model(102, "knee", "LimbNode", Translation(0, 0, 10));
    text += Model(103, "body", "Mesh", "");
    text += Model(104, "arm", "Null", Translation(10, 0, 0) + "\t\t\tP: \"RotationPivot\", \"Vector3D\", \"Vector\", \"\",0,5,0\n");
    text += Model(105, "cam", "Camera", Translation(0, -100, 50));
    text += Model(106, "cam.Target", "Null", Translation(0, 0, 50));
    text += Model(107, "lamp", "Light", Translation(0, 0, 80) + "\t\t\tP: \"UDP3DSMAX\", \"KString\", \"\", \"U\", \"" + long_props + "\"\n");
    text += R"(	Geometry: 200, "Geometry::quad", "Mesh" {
		Vertices: *12 {
			a: -5,0,0,5,0,0,5,0,30,-5,0,30
		}
		PolygonVertexIndex: *6 {
			a: 0,1,-3,0,2,-4
		}
		GeometryVersion: 124
		LayerElementNormal: 0 {
			Version: 101
			Name: ""
			MappingInformationType: "ByPolygonVertex"
			ReferenceInformationType: "Direct"
			Normals: *18 {
				a: 0,-1,0,0,-1,0,0,-1,0,0,-1,0,0,-1,0,0,-1,0
			}
		}
		LayerElementUV: 0 {
			Version: 101
			Name: "UVChannel_1"
			MappingInformationType: "ByPolygonVertex"
			ReferenceInformationType: "IndexToDirect"
			UV: *8 {
				a: 0,0,1,0,1,1,0,1
			}
			UVIndex: *6 {
				a: 0,1,2,0,2,3
			}
		}
		LayerElementColor: 0 {
			Version: 101
			Name: ""
			MappingInformationType: "ByPolygonVertex"
			ReferenceInformationType: "Direct"
			Colors: *24 {
				a: 1,0,0,1,0,1,0,1,0,0,1,1,1,0,0,1,0,0,1,1,1,1,1,0.5
			}
		}
		LayerElementMaterial: 0 {
			Version: 101
			Name: ""
			MappingInformationType: "ByPolygon"
			ReferenceInformationType: "IndexToDirect"
			Materials: *2 {
				a: 0,1
			}
		}
		Layer: 0 {
			Version: 100
			LayerElement:  {
				Type: "LayerElementNormal"
				TypedIndex: 0
			}
			LayerElement:  {
				Type: "LayerElementUV"
				TypedIndex: 0
			}
			LayerElement:  {
				Type: "LayerElementColor"
				TypedIndex: 0
			}
			LayerElement:  {
				Type: "LayerElementMaterial"
				TypedIndex: 0
			}
		}
	}
	NodeAttribute: 300, "NodeAttribute::", "Camera" {
		Properties70:  {
			P: "FieldOfView", "FieldOfView", "", "A",60
		}
		TypeFlags: "Camera"
		GeometryVersion: 124
	}
	NodeAttribute: 310, "NodeAttribute::", "Light" {
		Properties70:  {
			P: "LightType", "enum", "", "",2
			P: "Color", "Color", "", "A",1,0.5,0.25
			P: "InnerAngle", "Number", "", "A",30
			P: "OuterAngle", "Number", "", "A",50
		}
		TypeFlags: "Light"
		GeometryVersion: 124
	}
	Material: 400, "Material::red", "" {
		Version: 102
		ShadingModel: "phong"
		MultiLayer: 0
		Properties70:  {
			P: "DiffuseColor", "Color", "", "A",0.8,0.1,0.1
			P: "SpecularColor", "Color", "", "A",0.5,0.5,0.5
		}
	}
	Material: 401, "Material::blue", "" {
		Version: 102
		ShadingModel: "phong"
		MultiLayer: 0
		Properties70:  {
			P: "DiffuseColor", "Color", "", "A",0.1,0.1,0.8
		}
	}
	Texture: 450, "Texture::red", "" {
		Type: "TextureVideoClip"
		Version: 202
		TextureName: "Texture::red"
		FileName: "maps/red.png"
		RelativeFilename: "maps/red.png"
	}
	Texture: 451, "Texture::shine", "" {
		Type: "TextureVideoClip"
		Version: 202
		TextureName: "Texture::shine"
		FileName: "maps/shine.png"
		RelativeFilename: "maps/shine.png"
	}
	Texture: 452, "Texture::normal", "" {
		Type: "TextureVideoClip"
		Version: 202
		TextureName: "Texture::normal"
		FileName: "maps/red_n.png"
		RelativeFilename: "maps/red_n.png"
	}
	Texture: 453, "Texture::cutout", "" {
		Type: "TextureVideoClip"
		Version: 202
		TextureName: "Texture::cutout"
		FileName: "maps/red_a.png"
		RelativeFilename: "maps/red_a.png"
	}
	Deformer: 600, "Deformer::", "Skin" {
		Version: 101
		Link_DeformAcuracy: 50
	}
	Deformer: 601, "SubDeformer::", "Cluster" {
		Version: 100
		UserData: "", ""
		Indexes: *2 {
			a: 0,1
		}
		Weights: *2 {
			a: 1,1
		}
		Transform: *16 {
			a: 1,0,0,0,0,1,0,0,0,0,1,0,0,0,-10,1
		}
		TransformLink: *16 {
			a: 1,0,0,0,0,1,0,0,0,0,1,0,0,0,10,1
		}
	}
	Deformer: 602, "SubDeformer::", "Cluster" {
		Version: 100
		UserData: "", ""
		Indexes: *2 {
			a: 2,3
		}
		Weights: *2 {
			a: 1,1
		}
		Transform: *16 {
			a: 1,0,0,0,0,1,0,0,0,0,1,0,0,0,-20,1
		}
		TransformLink: *16 {
			a: 1,0,0,0,0,1,0,0,0,0,1,0,0,0,20,1
		}
	}
	AnimationStack: 500, "AnimStack::walk", "" {
		Properties70:  {
			P: "LocalStart", "KTime", "Time", "",0
			P: "LocalStop", "KTime", "Time", "",)" + std::to_string(kSecond / 3) + R"(
		}
	}
	AnimationLayer: 501, "AnimLayer::BaseLayer", "" {
	}
)";
    text += CurveNode(510) + Curve(511, 0, 90) + CurveNode(520) + Curve(521, 0, 90);
    text += R"(}
Connections:  {
	C: "OO",100,0
	C: "OO",101,100
	C: "OO",102,101
	C: "OO",103,100
	C: "OO",104,100
	C: "OO",105,100
	C: "OO",106,100
	C: "OO",107,100
	C: "OO",200,103
	C: "OO",300,105
	C: "OO",310,107
	C: "OO",400,103
	C: "OO",401,103
	C: "OP",450,400, "DiffuseColor"
	C: "OP",451,400, "SpecularColor"
	C: "OP",452,400, "NormalMap"
	C: "OP",453,400, "TransparentColor"
	C: "OO",600,200
	C: "OO",601,600
	C: "OO",602,600
	C: "OO",101,601
	C: "OO",102,602
	C: "OO",501,500
	C: "OO",510,501
	C: "OO",520,501
	C: "OP",511,510, "d|X"
	C: "OP",510,102, "Lcl Rotation"
	C: "OP",521,520, "d|Z"
	C: "OP",520,104, "Lcl Rotation"
}
)";
    return text;
}

}  // namespace importtest
