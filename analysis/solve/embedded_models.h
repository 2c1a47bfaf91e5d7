#pragma once

// The language models' stored bytes, assembled into the program from data/ (embedded_models.S).
extern "C" {
extern const unsigned char varn_model_ru[];
extern const unsigned char varn_model_ru_end[];
extern const unsigned char varn_model_en[];
extern const unsigned char varn_model_en_end[];
// The models of texts without word boundaries.
extern const unsigned char varn_model_ru_letters[];
extern const unsigned char varn_model_ru_letters_end[];
extern const unsigned char varn_model_en_letters[];
extern const unsigned char varn_model_en_letters_end[];
// What the language's own text costs under each model (data/<lang>.ref).
extern const unsigned char varn_reference_ru[];
extern const unsigned char varn_reference_ru_end[];
extern const unsigned char varn_reference_en[];
extern const unsigned char varn_reference_en_end[];
}
