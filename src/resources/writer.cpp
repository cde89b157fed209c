// Writers of the game's pack, model and WAV formats.
#include "resources/writer.h"

#include "resources/formats.h"

std::string Pack_record(const std::string& name, const std::string& bytes) {
  std::string record(Pack_record_header_bytes, '\0');
  record.replace(0, name.size() < Pack_name_bytes ? name.size() : Pack_name_bytes - 1, name);
  Write_u32(reinterpret_cast<unsigned char*>(&record[Pack_name_bytes]),
            static_cast<uint32_t>(bytes.size()));
  return record + bytes;
}

static void Append_u32(std::string& out, uint32_t value) {
  unsigned char bytes[4];
  Write_u32(bytes, value);
  out.append(reinterpret_cast<char*>(bytes), 4);
}

static void Append_floats(std::string& out, const std::vector<float>& values) {
  for (float value : values) {
    unsigned char bytes[4];
    Write_f32(bytes, value);
    out.append(reinterpret_cast<char*>(bytes), 4);
  }
}

std::string Model_bytes(const std::vector<Mesh_source>& meshes) {
  std::string out(1, '\0');
  Append_u32(out, static_cast<uint32_t>(meshes.size()));
  for (const Mesh_source& mesh : meshes) {
    std::string name(Mesh_texture_name_bytes, '\0');
    name.replace(0, mesh.texture.size() < Mesh_texture_name_bytes ? mesh.texture.size()
                                                                  : Mesh_texture_name_bytes - 1,
                 mesh.texture);
    out += name;
    Append_floats(out, {mesh.pivot[0], mesh.pivot[1], mesh.pivot[2]});
    uint32_t triangles = static_cast<uint32_t>(mesh.positions.size() / 9);
    Append_u32(out, triangles);
    out.push_back('\0');
    Append_floats(out, mesh.positions);
    Append_floats(out, mesh.positions);  // the second vertex block: never read by the game
    Append_floats(out, mesh.texcoords);
  }
  return out;
}

std::string Wav_bytes(const std::string& pcm, uint16_t channels, uint32_t rate, uint16_t bits) {
  unsigned char header[Wav_header_bytes] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E',
                                            'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0};
  Write_u32(header + Wav_riff_size_offset, static_cast<uint32_t>(36 + pcm.size()));
  Write_u16(header + Wav_channels_offset, channels);
  Write_u32(header + Wav_rate_offset, rate);
  Write_u32(header + 28, rate * channels * (bits / 8));
  Write_u16(header + 32, static_cast<uint16_t>(channels * (bits / 8)));
  Write_u16(header + Wav_bits_offset, bits);
  header[36] = 'd';
  header[37] = 'a';
  header[38] = 't';
  header[39] = 'a';
  Write_u32(header + 40, static_cast<uint32_t>(pcm.size()));
  return std::string(reinterpret_cast<char*>(header), Wav_header_bytes) + pcm;
}

Mesh_source Rectangle_mesh(const std::string& texture, float left, float bottom, float right,
                           float top, float z) {
  Mesh_source mesh;
  mesh.texture = texture;
  mesh.pivot[0] = (left + right) / 2;
  mesh.pivot[1] = (bottom + top) / 2;
  mesh.pivot[2] = z;
  mesh.positions = {left, bottom, z, right, bottom, z, right, top, z,
                    left, bottom, z, right, top,    z, left,  top, z};
  mesh.texcoords = {0, 1, 1, 1, 1, 0, 0, 1, 1, 0, 0, 0};
  return mesh;
}
