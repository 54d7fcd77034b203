#include "DecodedStream.h"

#include <vorbis/vorbisfile.h>

DecodedStream DecodedStream::load(const std::string& path)
{
    DecodedStream stream;
    OggVorbis_File file;
    if (ov_fopen(path.c_str(), &file) != 0)
        return stream;
    const vorbis_info* info = ov_info(&file, -1);
    stream.rate = info->rate;
    stream.channels.resize(size_t(info->channels));
    for (;;)
    {
        float** pcm = nullptr;
        int section = 0;
        const long count = ov_read_float(&file, &pcm, 4096, &section);
        if (count <= 0)
            break;
        for (size_t c = 0; c < stream.channels.size(); ++c)
            stream.channels[c].insert(stream.channels[c].end(), pcm[c], pcm[c] + count);
    }
    ov_clear(&file);
    return stream;
}
