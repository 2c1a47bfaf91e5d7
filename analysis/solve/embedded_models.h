#pragma once

// The language models' stored bytes, assembled into the program from data/ (embedded_models.S).
extern "C" {
extern const unsigned char varn_model_ru[];
extern const unsigned char varn_model_ru_end[];
extern const unsigned char varn_model_en[];
extern const unsigned char varn_model_en_end[];
}
