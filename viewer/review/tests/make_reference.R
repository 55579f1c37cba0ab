# Reference numbers for the review statistics, computed once with R's metafor package (3.8.1 on
# Debian 12) and stored in data/reference.tsv; the tests compare the data sets with them and do
# not need R. Run from the repository root:
#   Rscript viewer/review/tests/make_reference.R > viewer/review/tests/data/reference.tsv
# Each line: file, comparison, outcome, measure, model, vector, row, kind (number|text|missing), value.
# The conventions (0.5 added to every cell of a study with a zero cell; studies without events in
# either arm dropped for OR and RR; MH heterogeneity with inverse-variance weights about the MH
# estimate; DerSimonian-Laird per subgroup) are set through metafor's own arguments.
suppressMessages(library(metafor))
options(na.action = "na.pass") # keep a row (NA) for every study in weights()

files <- c("examples/orvantaiv/bcg.ORV", "examples/orvantaiv/catheters.ORV",
           "examples/orvantaiv/stroke.ORV", "viewer/review/tests/data/edge.ORV")

# The outcomes of a review file with their studies in subgroup order.
read_review <- function(path) {
  outcomes <- list(); comparison <- 0; current <- NULL
  flush <- function() if (!is.null(current)) {
    current$studies <- current$studies[order(current$studies$group), , drop = FALSE]
    outcomes[[length(outcomes) + 1]] <<- current
  }
  for (line in readLines(path, encoding = "UTF-8")) {
    f <- trimws(strsplit(line, "\t", fixed = TRUE)[[1]])
    if (length(f) == 0 || f[1] == "" || startsWith(f[1], "#")) next
    if (f[1] == "COMPARISON") { flush(); current <- NULL; comparison <- comparison + 1; number <- 0 }
    if (f[1] == "OUTCOME") {
      flush(); number <- number + 1
      current <- list(comparison = comparison, outcome = number, kind = f[3], groups = character(0),
                      studies = NULL)
    }
    if (f[1] == "SUBGROUP") current$groups <- c(current$groups, f[2])
    if (f[1] == "STUDY") {
      g <- if (length(current$groups)) match(f[4], current$groups) - 1 else 0
      x <- as.numeric(f[5:(if (current$kind == "dichotomous") 8 else 10)])
      row <- if (current$kind == "dichotomous")
        data.frame(group = g, ai = x[1], n1i = x[2], ci = x[3], n2i = x[4])
      else data.frame(group = g, n1i = x[1], m1i = x[2], sd1i = x[3], n2i = x[4], m2i = x[5], sd2i = x[6])
      current$studies <- rbind(current$studies, row)
    }
  }
  flush()
  outcomes
}

code <- c(PETO = 300, MD = 301, OR = 302, RR = 303, RD = 304, SMD = 305)
dichotomous_methods <- list(c("PETO", "fixed"), c("OR", "fixed"), c("OR", "random"), c("RR", "fixed"),
                            c("RR", "random"), c("RD", "fixed"), c("RD", "random"))
continuous_methods <- list(c("MD", "fixed"), c("MD", "random"), c("SMD", "fixed"), c("SMD", "random"))

effects <- function(d, measure) {
  if (measure == "PETO")
    return(escalc("PETO", ai = ai, n1i = n1i, ci = ci, n2i = n2i, data = d, add = 0, to = "none"))
  if (measure %in% c("MD", "SMD"))
    return(escalc(measure, m1i = m1i, sd1i = sd1i, n1i = n1i, m2i = m2i, sd2i = sd2i, n2i = n2i, data = d))
  escalc(measure, ai = ai, n1i = n1i, ci = ci, n2i = n2i, data = d, add = 0.5, to = "only0",
         drop00 = measure != "RD")
}

fit <- function(d, measure, model) {
  if (measure == "PETO")
    return(rma.peto(ai = ai, n1i = n1i, ci = ci, n2i = n2i, data = d, add = 0, to = "none"))
  if (model == "fixed" && measure %in% c("OR", "RR", "RD"))
    return(rma.mh(measure = measure, ai = ai, n1i = n1i, ci = ci, n2i = n2i, data = d, add = 0.5,
                  to = "only0", drop00 = measure != "RD"))
  es <- effects(d, measure)
  rma(yi, vi, data = es, method = if (model == "fixed") "EE" else "DL")
}

z <- qnorm(c(0.95, 0.975, 0.995))
out <- function(...) cat(paste(..., sep = "\t"), "\n", sep = "")
num <- function(x) if (is.na(x)) "missing\t" else paste0("number\t", sprintf("%.17g", x))
p_text <- function(p) if (p < 0.00001) "<0.00001" else sprintf("%.5f", p)

for (file in files) for (o in read_review(file)) {
  if (!(o$kind %in% c("dichotomous", "continuous"))) next
  d <- o$studies
  dich <- o$kind == "dichotomous"
  for (m in if (dich) dichotomous_methods else continuous_methods) {
    measure <- m[1]; model <- m[2]
    ratio <- measure %in% c("PETO", "OR", "RR")
    shown <- function(x) if (ratio) exp(x) else x
    key <- paste(file, o$comparison, o$outcome, code[[measure]], if (model == "fixed") 400 else 401, sep = "\t")
    cell <- function(vector, row, value) out(key, vector, row, value)

    es <- effects(d, measure)
    total <- fit(d, measure, model)
    percent <- weights(total)
    percent[is.na(percent)] <- 0
    for (i in seq_len(nrow(d))) {
      y <- es$yi[i]; se <- sqrt(es$vi[i])
      cell(if (dich) "OR" else "WMD", i, num(shown(y)))
      for (l in 1:3) {
        level <- c(90, 95, 99)[l]
        cell(paste0("CIL", level), i, num(shown(y - z[l] * se)))
        cell(paste0("CIH", level), i, num(shown(y + z[l] * se)))
      }
      cell("WEIGHT", i, num(percent[i]))
      if (dich) {
        peto <- escalc("PETO", ai = ai, n1i = n1i, ci = ci, n2i = n2i, data = d[i, ], add = 0, to = "none")
        v <- if (is.na(peto$vi)) 0 else 1 / peto$vi
        oe <- if (is.na(peto$vi)) 0 else peto$yi / peto$vi
        cell("O-E", i, paste0("text\t", sprintf("%.6f", oe)))
        cell("V", i, paste0("text\t", sprintf("%.6f", v)))
      }
    }

    summary_cells <- function(vector, rows) {
      f <- if (identical(rows, seq_len(nrow(d)))) total else fit(d[rows, , drop = FALSE], measure, model)
      k <- sum(!is.na(es$yi[rows]))
      b <- as.numeric(f$beta)
      at <- if (dich) list(effect = 5, up = c(6, 8, 10), lo = c(7, 9, 11), weight = 13, chi = 16, df = 17,
                           z = 20, p = 21, ph = 22)
            else list(effect = 1, up = c(2, 4, 6), lo = c(3, 5, 7), weight = 15, chi = 10, df = 11,
                      z = 8, p = 9, ph = 12)
      if (dich) {
        out(key, vector, 1, num(sum(d$ai[rows]))); out(key, vector, 2, num(sum(d$n1i[rows])))
        out(key, vector, 3, num(sum(d$ci[rows]))); out(key, vector, 4, num(sum(d$n2i[rows])))
      } else {
        out(key, vector, 13, num(sum(d$n1i[rows]))); out(key, vector, 14, num(sum(d$n2i[rows])))
      }
      out(key, vector, at$effect, num(shown(b)))
      for (l in 1:3) {
        out(key, vector, at$lo[l], num(shown(b - z[l] * f$se)))
        out(key, vector, at$up[l], num(shown(b + z[l] * f$se)))
      }
      out(key, vector, at$weight, num(sum(percent[rows])))
      out(key, vector, at$chi, num(f$QE))
      out(key, vector, at$df, num(k - 1))
      out(key, vector, at$z, num(abs(f$zval)))
      out(key, vector, at$p, paste0("text\t", p_text(f$pval)))
      out(key, vector, at$ph, if (k > 1) num(f$QEp) else "missing\t")
    }
    groups <- if (length(o$groups)) length(o$groups) else 1
    for (g in seq_len(groups)) summary_cells(paste("GROUP", g - 1), which(d$group == g - 1))
    summary_cells("TOTAL", seq_len(nrow(d)))
  }
}
