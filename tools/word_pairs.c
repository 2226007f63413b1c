/* Reads a language model of the sphinxbase library and prints, for the
 * words of a list, what tools/make_word_pairs.py needs:
 *   U word log10P(word)                 each word's own likelihood
 *   B word log10 back-off(word)         the weight of a pair the model lacks
 *   word next log10P(next | word)       every pair the model holds
 * "<s>", the start of a sentence, is taken as a word before the others.
 *
 *   word_pairs MODEL WORDS > pairs.txt
 */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <sphinxbase/logmath.h>
#include <sphinxbase/ngram_model.h>

enum { MOST_WORDS = 100000, LONGEST_WORD = 64 };

static char words[MOST_WORDS][LONGEST_WORD];

int main(int argc, char** argv) {
    if (argc != 3) {
        fprintf(stderr, "usage: word_pairs MODEL WORDS\n");
        return 2;
    }
    logmath_t* log = logmath_init(1.0001, 0, 0);
    ngram_model_t* model = ngram_model_read(NULL, argv[1], NGRAM_AUTO, log);
    FILE* list = fopen(argv[2], "r");
    if (!model || !list) {
        fprintf(stderr, "word_pairs: cannot read %s or %s\n", argv[1], argv[2]);
        return 1;
    }
    int n = 0;
    while (n < MOST_WORDS && fgets(words[n], LONGEST_WORD, list)) {
        words[n][strcspn(words[n], "\r\n")] = 0;
        n++;
    }
    int32* id = malloc(sizeof(int32) * (size_t)n);
    const int32 unknown = ngram_unknown_wid(model);
    for (int i = 0; i < n; i++) id[i] = ngram_wid(model, words[i]);

    for (int j = 0; j < n; j++) {
        if (id[j] == unknown) continue;
        int32 used = 0;
        printf("U %s %.4f\n", words[j], logmath_log_to_log10(log, ngram_ng_score(model, id[j], NULL, 0, &used)));
    }
    for (int i = -1; i < n; i++) {
        const int32 before = i < 0 ? ngram_wid(model, "<s>") : id[i];
        const char* name = i < 0 ? "<s>" : words[i];
        if (before == unknown) continue;
        int backOffShown = 0;
        for (int j = 0; j < n; j++) {
            if (id[j] == unknown) continue;
            int32 used = 0;
            const int32 score = ngram_bg_score(model, id[j], before, &used);
            if (used == 2) {
                printf("%s %s %.4f\n", name, words[j], logmath_log_to_log10(log, score));
            } else if (!backOffShown) {
                /* A pair the model lacks scores the back-off plus the word's own. */
                int32 own = 0;
                const int32 alone = ngram_ng_score(model, id[j], NULL, 0, &own);
                printf("B %s %.4f\n", name, logmath_log_to_log10(log, score - alone));
                backOffShown = 1;
            }
        }
    }
    free(id);
    ngram_model_free(model);
    logmath_free(log);
    return 0;
}
