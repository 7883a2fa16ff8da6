#include "sales/sale_price_rules.h"

#include "base/format.h"

namespace vym::sale_price {
namespace {

Currency AtLeastZero(Currency amount) {
    return amount < Currency{} ? Currency{} : amount;
}

Line Priced(Currency original, Currency sale) {
    return {sale, DiscountOf(original, sale)};
}

}  // namespace

Currency PercentOf(double fraction) {
    return Currency::FromDouble(fraction * 100.0);
}

double FractionOf(Currency percent) {
    return percent.ToDouble() / kHundred.ToDouble();
}

Currency DiscountOf(Currency original, Currency sale) {
    return original == Currency{} ? Currency{} : (original - sale).MulDiv(kHundred, original);
}

// Nothing is taken off a price of 0, so its discount reads 0 too.
Line ApplyPercent(Currency original, Currency percent) {
    return {original - original.MulDiv(percent, kHundred),
            original == Currency{} ? Currency{} : percent};
}

Line ApplyFlat(Currency original, Currency amount) {
    return Priced(original, AtLeastZero(original - amount));
}

Line ApplyPrice(Currency original, Currency price) {
    return Priced(original, AtLeastZero(price));
}

Line AddedItem(Currency original, Currency percent, Currency amount) {
    if (percent != Currency{}) {
        return ApplyPercent(original, percent);
    }
    return Priced(original, original - amount);
}

std::optional<Currency> ReadAmount(std::string_view text) {
    if (text.find_first_not_of(' ') == std::string_view::npos) {
        return Currency{};
    }
    const std::optional<double> number = ParseNumber(text);
    if (!number) {
        return std::nullopt;
    }
    return Currency::FromDouble(*number);
}

Verdict CheckBox(const Box& box) {
    const std::optional<Currency> amount = ReadAmount(box.text);
    const std::string what = box.percent ? "percentage" : "amount";
    if (!amount) {
        return Refusal{"The " + what + " \"" + std::string(box.text) + "\" is not a number.",
                       box.title,
                       {},
                       box.field};
    }
    if (*amount < Currency{}) {
        return Refusal{"The " + what + " can not be negative.", box.title, {}, box.field};
    }
    if (box.percent && *amount >= kHundred) {
        return Refusal{"The percentage must be less than 100.", box.title, {}, box.field};
    }
    return std::nullopt;
}

Verdict CheckDates(Date start, Date end, const char* endField) {
    if (end.DateOnly() < start.DateOnly()) {
        return Refusal{
            "The end date can not be before the start date.", "Invalid Sale Dates", {}, endField};
    }
    return std::nullopt;
}

Verdict CheckDeptLine(int row, std::string_view percent, std::string_view discount,
                      const char* gridField, int percentColumn, int discountColumn) {
    const std::string where = " (row " + std::to_string(row) + ")";
    for (Box box : {Box{percent, gridField, "Invalid Percentage Discount", true},
                    Box{discount, gridField, "Invalid Flat Amount Discount", false}}) {
        if (Verdict refusal = CheckBox(box)) {
            refusal->message += where;
            refusal->column = box.percent ? percentColumn : discountColumn;
            return refusal;
        }
    }
    if (*ReadAmount(percent) != Currency{} && *ReadAmount(discount) != Currency{}) {
        return Refusal{
            "A sale line takes a percentage or a flat amount discount, not both" + where + ".",
            "Invalid Sale Line",
            {},
            gridField,
            discountColumn};
    }
    return std::nullopt;
}

Verdict CheckSalePrice(int row, Currency sale, const char* gridField, int column) {
    if (sale < Currency{}) {
        return Refusal{"The sale price in row " + std::to_string(row) +
                           " is below 0. Lower the discount or enter a sale price.",
                       "Invalid Sale Price",
                       {},
                       gridField,
                       column};
    }
    return std::nullopt;
}

}  // namespace vym::sale_price
